#pragma once
// An application folder with the test runtime: the launcher as Shop.exe, its
// INI, a runtime copied where a case wants it, and the runtime's journal.
#include <map>
#include <string>
#include <vector>

#include "app_folder.h"

// The test runtime of the launcher's machine, its variants, and the one of
// the other machine (empty when not built).
std::wstring testRuntime();
std::wstring testRuntimeVariant(const wchar_t* name);
std::wstring otherMachineRuntime();
// The other machine's launcher, the paired product (empty when not built).
std::wstring pairedLauncher();

class JavaApp {
 public:
  explicit JavaApp(const std::wstring& name);

  const std::wstring& path() const { return folder_.path(); }
  const AppFolder& folder() const { return folder_; }

  // Copies a runtime to `where` below the folder (for example L"jre"); returns its home.
  std::wstring addRuntime(const std::wstring& where, const std::wstring& source = testRuntime()) const;
  void writeIni(const std::string& text) const { folder_.writeFile(L"Shop.ini", text); }

  // Runs Shop.exe with a fresh journal.
  robot::Outcome launch(const std::wstring& arguments = L"", std::vector<std::wstring> presses = {}) const;

  // The same with "QL_LAUNCHER_TRACE" naming `trace` (trace.txt in the
  // folder when empty); what the launcher traced.
  robot::Outcome launchTraced(const std::wstring& arguments = L"", std::vector<std::wstring> presses = {},
                              std::wstring trace = L"") const;
  std::string traceText() const;

  // What the runtime wrote: every value of `key`, in order.
  std::vector<std::string> journal(const std::string& key) const;
  std::string journalText() const;

 private:
  std::wstring journalPath() const { return folder_.path() + L"\\journal.txt"; }
  AppFolder folder_;
};

// These tests are built for the launcher's machine, so their own registry
// view is the launcher's; the other view is where the paired product's
// runtimes are registered.
#ifdef _WIN64
constexpr REGSAM kOtherView = KEY_WOW64_32KEY;
#else
constexpr REGSAM kOtherView = KEY_WOW64_64KEY;
#endif

// An installed runtime, as HKLM\Software\JavaSoft\JRE\<version> with its
// "JavaHome", in the launcher's own registry view unless told otherwise.
void registerRuntime(const std::wstring& version, const std::wstring& home, REGSAM view = 0);
// Removes HKLM\Software\JavaSoft from both views.
void clearRegistryRuntimes();

std::string narrow(const std::wstring& text);

// The VM options of the launch, between the print hook (first) and the abort
// and exit hooks (last), which it checks.
std::vector<std::string> optionsBeforeHooks(const JavaApp& app);

// The one message box of a launch, as UTF-8 ("" when there was none or more).
std::string onlyMessage(const robot::Outcome& outcome);
