#include "java_app.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "file_tree/file_tree.h"

std::wstring testRuntime() { return programFromEnvironment("TEST_RUNTIME_DIR"); }

std::wstring testRuntimeVariant(const wchar_t* name) {
  return programFromEnvironment("TEST_RUNTIME_VARIANTS") + L"\\" + name;
}

std::wstring otherMachineRuntime() {
  std::wstring home = programFromEnvironment("OTHER_MACHINE_RUNTIME_DIR");
  return GetFileAttributesW((home + L"\\bin\\server\\jvm.dll").c_str()) == INVALID_FILE_ATTRIBUTES ? L"" : home;
}

std::wstring pairedLauncher() {
  std::wstring exe = programFromEnvironment("PAIRED_LAUNCHER_EXE");
  return GetFileAttributesW(exe.c_str()) == INVALID_FILE_ATTRIBUTES ? L"" : exe;
}

void registerRuntime(const std::wstring& version, const std::wstring& home, REGSAM view) {
  HKEY key;
  std::wstring path = L"Software\\JavaSoft\\JRE\\" + version;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  RegSetValueExW(key, L"JavaHome", 0, REG_SZ, reinterpret_cast<const BYTE*>(home.c_str()),
                 static_cast<DWORD>((home.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
}

void clearRegistryRuntimes() {
  for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
    HKEY software;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software", 0, KEY_ALL_ACCESS | view, &software) == ERROR_SUCCESS) {
      RegDeleteTreeW(software, L"JavaSoft");
      RegCloseKey(software);
    }
  }
}

std::string narrow(const std::wstring& text) {
  int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
  return out;
}

std::string onlyMessage(const robot::Outcome& outcome) {
  auto dialogs = outcome.dialogs();
  return dialogs.size() == 1 ? narrow(dialogs[0].staticText()) : "";
}

JavaApp::JavaApp(const std::wstring& name) : folder_(name) { folder_.installLauncher(L"Shop.exe"); }

std::wstring JavaApp::addRuntime(const std::wstring& where, const std::wstring& source) const {
  std::wstring home = where.find(L':') == std::wstring::npos ? folder_.path() + L"\\" + where : where;
  copyTree(source, home);
  return home;
}

robot::Outcome JavaApp::launch(const std::wstring& arguments, std::vector<std::wstring> presses) const {
  DeleteFileW(journalPath().c_str());
  SetEnvironmentVariableW(L"TEST_JVM_JOURNAL", journalPath().c_str());
  robot::Outcome outcome = folder_.run(L"Shop.exe", arguments, std::move(presses));
  SetEnvironmentVariableW(L"TEST_JVM_JOURNAL", nullptr);
  return outcome;
}

robot::Outcome JavaApp::launchTraced(const std::wstring& arguments, std::vector<std::wstring> presses,
                                     std::wstring trace) const {
  if (trace.empty()) trace = folder_.path() + L"\\trace.txt";
  SetEnvironmentVariableW(L"QL_LAUNCHER_TRACE", trace.c_str());
  robot::Outcome outcome = launch(arguments, std::move(presses));
  SetEnvironmentVariableW(L"QL_LAUNCHER_TRACE", nullptr);
  return outcome;
}

std::string JavaApp::traceText() const {
  std::ifstream in((folder_.path() + L"\\trace.txt").c_str(), std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string JavaApp::journalText() const {
  std::ifstream in(journalPath().c_str(), std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> JavaApp::journal(const std::string& key) const {
  std::vector<std::string> values;
  std::istringstream lines(journalText());
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.compare(0, key.size() + 1, key + "=") == 0) values.push_back(line.substr(key.size() + 1));
  }
  return values;
}

// The VM options between the launcher's hooks: the print hook comes first
// (the VM reads options in order), the abort and exit hooks last, and before
// them the application's name for the JDK's tools, which is left out.
std::vector<std::string> optionsBeforeHooks(const JavaApp& app) {
  std::vector<std::string> options = app.journal("option");
  EXPECT_GE(options.size(), 3u) << app.journalText();
  if (options.size() < 3) return options;
  EXPECT_EQ(options.front(), "vfprintf");
  EXPECT_EQ(options[options.size() - 2], "abort");
  EXPECT_EQ(options.back(), "exit");
  EXPECT_EQ(app.journal("option-hook"), (std::vector<std::string>{"vfprintf", "abort", "exit"}))
      << "only the hooks carry extra info";
  options.resize(options.size() - 2);
  options.erase(options.begin());
  EXPECT_TRUE(!options.empty() && options.back().rfind("-Dsun.java.command=", 0) == 0) << app.journalText();
  if (!options.empty()) options.pop_back();
  return options;
}
