// Which runtime a launch takes: the configured folder, the one beside the
// executable, the registry; the runtime's journal shows the jvm.dll chosen.
#include <gtest/gtest.h>

#include "instances.h"

namespace {

const std::string kApp = "[Java Runtime Environment]\r\nMain Class=com.example.App\r\n";
const std::string kClassPath = "[Class Path]\r\nClass Path=C:\\x.jar\r\n";

TEST(RuntimeSelection, ConfiguredThenBesideTheExecutableThenRegistry) {
  const struct {
    const char* name;
    std::string jrePath;      // "<app>" stands for the application folder
    bool besideInJre;         // a runtime in <app>\jre
    bool besideInFolder;      // a runtime whose home is <app> itself
    const char* chosen;       // the home whose jvm.dll is taken
    const char* stage;        // as the trace names it
  } cases[] = {
      {"configured, no trailing backslash", "<app>\\configured", true, false, "configured", "JRE Path"},
      {"configured without jvm.dll falls through", "<app>\\empty", true, false, "jre", "beside the executable"},
      {"beside the executable beats the registry", "", true, false, "jre", "beside the executable"},
      {"the executable's own folder as home", "", false, true, "", "beside the executable"},
      {"the registry last", "", false, false, "installed", "registry"},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    clearRegistryRuntimes();
    JavaApp app(currentTestName() + std::to_wstring(n++));
    registerRuntime(L"17", app.addRuntime(L"installed"));
    app.addRuntime(L"configured");
    CreateDirectoryW((app.path() + L"\\empty").c_str(), nullptr);
    if (c.besideInJre) app.addRuntime(L"jre");
    if (c.besideInFolder) app.addRuntime(app.path());
    std::string jrePath = c.jrePath;
    if (size_t at = jrePath.find("<app>"); at != std::string::npos) jrePath.replace(at, 5, narrow(app.path()));
    app.writeIni(kApp + (jrePath.empty() ? "" : "JRE Path=" + jrePath + "\r\n") + kClassPath);

    robot::Outcome outcome = app.launchTraced();
    EXPECT_EQ(outcome.exitCodeSigned(), 0) << report(outcome);
    std::string home = narrow(app.path()) + (*c.chosen ? std::string("\\") + c.chosen : "");
    EXPECT_EQ(app.journal("env-QL_JVM_PATH"), std::vector<std::string>{home + "\\bin\\server\\jvm.dll"});
    EXPECT_NE(app.traceText().find("chosen by " + std::string(c.stage) + ": " + home + "\\bin\\server\\jvm.dll"),
              std::string::npos)
        << app.traceText();
  }
  clearRegistryRuntimes();
}

// A jvm.dll built for the other machine goes to the paired product when one
// is configured; a runtime shipped beside the executable is not checked.
TEST(RuntimeSelection, AnotherMachinesRuntimeAndThePairedProduct) {
  if (otherMachineRuntime().empty()) GTEST_SKIP() << "the other machine's test runtime is not built";
  const struct {
    const char* name;
    bool configured;  // else beside the executable
    bool pairProduct;
    const char* message;  // the one message, "" for none
  } cases[] = {
      {"configured, with a paired product", true, true, ""},
      {"configured, without one", true, false, "(errno = 193)"},
      {"beside the executable, with a paired product", false, true, "(errno = 193)"},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    JavaApp app(currentTestName() + std::to_wstring(n++));
    std::wstring home = app.addRuntime(c.configured ? L"other" : L"jre", otherMachineRuntime());
    app.writeIni(kApp + (c.configured ? "JRE Path=" + narrow(home) + "\r\n" : "") + kClassPath +
                 (c.pairProduct ? "[Application]\r\nPair Product=" + narrow(app.path()) + "\\Shop64.exe\r\n" : ""));
    robot::Outcome outcome = app.launch(L"", {L"OK"});
    EXPECT_EQ(outcome.exitCodeSigned(), -1) << report(outcome);
    if (*c.message) {
      EXPECT_NE(onlyMessage(outcome).find(c.message), std::string::npos) << report(outcome);
    } else {
      EXPECT_EQ(outcome.dialogs().size(), 0u) << report(outcome);
    }
    EXPECT_TRUE(app.journal("loaded-thread").empty()) << "the other machine's jvm.dll never loads";
  }
}

// The paired product, the other machine's launcher, takes the launch over
// with this launch's command line and runs main in its own process with the
// runtime this launcher cannot load; with "Pair Return Code" its exit code
// is passed on. The runtime is the configured one, or one registered in the
// other registry view, which only the pass for the paired product reads.
TEST(RuntimeSelection, ThePairedProductRunsWithTheSameCommandLine) {
  if (otherMachineRuntime().empty() || pairedLauncher().empty()) GTEST_SKIP() << "the other machine's build is not there";
  const struct {
    const char* name;
    bool configured;  // else registered in the other view
    const char* returnCode;
    int exitCode;
  } cases[] = {
      {"configured, waited for", true, "yes", 5},
      {"configured, not waited for", true, "", 0},
      {"registered for the other machine, waited for", false, "yes", 5},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    clearRegistryRuntimes();
    JavaApp app(currentTestName() + std::to_wstring(n++));
    const std::wstring home = app.addRuntime(L"other", otherMachineRuntime());
    if (!c.configured) registerRuntime(L"17", home, kOtherView);
    const std::string other = narrow(home);
    const std::string jrePath = c.configured ? "JRE Path=" + other + "\r\n" : "";
    app.writeIni("[Java Runtime Environment]\r\nMain Class=test.Exit\r\n" + jrePath + kClassPath +
                 "[Application]\r\nPair Product=" + narrow(app.path()) + "\\Paired.exe\r\nPair Return Code=" +
                 c.returnCode + "\r\n");
    app.folder().installProgram(pairedLauncher(), L"Paired.exe");
    app.folder().writeFile(L"Paired.ini", "[Java Runtime Environment]\r\nMain Class=test.Exit\r\n" + jrePath + kClassPath);

    robot::Outcome outcome = app.launch(L"5");
    EXPECT_EQ(outcome.exitCodeSigned(), c.exitCode) << report(outcome);
    EXPECT_EQ(outcome.dialogs().size(), 0u) << report(outcome);
    EXPECT_TRUE(instances::waitForJournal(app, "exit")) << "the paired product ends the application";
    EXPECT_EQ(app.journal("arg"), std::vector<std::string>{"5"}) << app.journalText();
    EXPECT_EQ(app.journal("env-QL_JVM_PATH"), std::vector<std::string>{other + "\\bin\\server\\jvm.dll"})
        << "only the other machine's process can load it";
  }
  clearRegistryRuntimes();
}

// Sets the machine field of a PE file's header.
void setMachine(const std::wstring& file, uint16_t machine) {
  HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(handle, INVALID_HANDLE_VALUE);
  uint32_t peOffset = 0;
  DWORD done = 0;
  SetFilePointer(handle, 0x3C, nullptr, FILE_BEGIN);
  ReadFile(handle, &peOffset, sizeof peOffset, &done, nullptr);
  SetFilePointer(handle, static_cast<LONG>(peOffset + 4), nullptr, FILE_BEGIN);
  WriteFile(handle, &machine, sizeof machine, &done, nullptr);
  CloseHandle(handle);
}

// A launch is handed over at most once: a runtime neither product can load
// (ARM64) is reported at once, and two launchers that name each other as
// paired product do not send a launch back and forth, be they copies of one
// launcher or the two products, each given a runtime only the other loads.
TEST(RuntimeSelection, ThePairedProductsNeverRelayALaunchMoreThanOnce) {
  const struct {
    const char* name;
    bool arm64;     // else the other machine's runtime
    bool products;  // the sibling is the other machine's launcher
    int processes;  // launchers started, the first one included
  } cases[] = {
      {"a runtime neither product loads", true, false, 1},
      {"copies naming each other", false, false, 2},
      {"the two products naming each other", false, true, 2},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (!c.arm64 && (otherMachineRuntime().empty() || (c.products && pairedLauncher().empty()))) {
      std::printf("[  SKIPPED ] %s: the other machine's build is not there\n", c.name);
      continue;
    }
    JavaApp app(currentTestName() + std::to_wstring(n++));
    const std::wstring home = app.addRuntime(L"other", c.arm64 ? testRuntime() : otherMachineRuntime());
    // The other machine's launcher gets a runtime of this machine, which it cannot load either.
    const std::wstring siblingHome = c.products ? app.addRuntime(L"own") : home;
    const std::wstring jvm = siblingHome + L"\\bin\\server\\jvm.dll";
    if (c.arm64) setMachine(jvm, 0xAA64);
    const auto settings = [&](const std::wstring& runtime, const char* paired) {
      return kApp + "JRE Path=" + narrow(runtime) + "\r\n" + kClassPath +
             "[Application]\r\nPair Return Code=yes\r\nPair Product=" + narrow(app.path()) + paired;
    };
    app.writeIni(settings(home, "\\Shop64.exe\r\n"));
    app.folder().installProgram(c.products ? pairedLauncher() : launcherUnderTest(), L"Shop64.exe");
    app.folder().writeFile(L"Shop64.ini", settings(siblingHome, "\\Shop.exe\r\n"));

    robot::Outcome outcome = app.launch(L"", {L"OK"});
    EXPECT_EQ(outcome.exitCodeSigned(), -1) << report(outcome);
    EXPECT_NE(onlyMessage(outcome).find("Failed to load Java VM library: " + narrow(jvm) + " (errno = 193)."),
              std::string::npos)
        << report(outcome);
    EXPECT_EQ(outcome.processes, c.processes) << report(outcome);
    EXPECT_TRUE(app.journal("loaded-thread").empty()) << app.journalText();
  }
}

}  // namespace

namespace {

// Runtimes as today's installers register them: vendor keys, per-user keys,
// JAVA_HOME. `key` is "HKLM\..." or "HKCU\..." and `value` its value name;
// "JAVA_HOME" sets the variable; "JavaSoft" registers a classic runtime 17.
// The runtime is copied to `folder` with `release` as its release file; a
// folder "missing" is never made, "no-jvm" gets only bin\java.dll.
struct Install {
  const wchar_t* key;
  const wchar_t* value;
  const wchar_t* folder;
  std::string release;
};

const wchar_t* const kVendorRoots[] = {L"Eclipse Adoptium", L"Microsoft\\JDK", L"Semeru", L"Azul Systems",
                                       L"BellSoft", L"SapMachine"};

void clearVendorKeys() {
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
      HKEY software;
      if (RegOpenKeyExW(root, L"SOFTWARE", 0, KEY_ALL_ACCESS | view, &software) != ERROR_SUCCESS) continue;
      for (const wchar_t* vendor : kVendorRoots) RegDeleteTreeW(software, vendor);
      RegCloseKey(software);
    }
  }
  SetEnvironmentVariableW(L"JAVA_HOME", nullptr);
}

std::wstring installRuntime(const JavaApp& app, const Install& install) {
  const std::wstring home = app.path() + L"\\" + install.folder;
  const std::wstring name = install.folder;
  if (name == L"missing") return home;
  app.addRuntime(name);
  if (name == L"no-jvm") DeleteFileW((home + L"\\bin\\server\\jvm.dll").c_str());
  if (!install.release.empty()) app.folder().writeFile(name + L"\\release", install.release);
  return home;
}

void registerInstall(const JavaApp& app, const Install& install) {
  const std::wstring home = installRuntime(app, install);
  const std::wstring key = install.key;
  if (key == L"JAVA_HOME") {
    std::wstring text = install.value;
    if (size_t at = text.find(L"<home>"); at != std::wstring::npos) text.replace(at, 6, home);
    SetEnvironmentVariableW(L"JAVA_HOME", text.c_str());
    return;
  }
  if (key == L"JavaSoft") return registerRuntime(L"17", home);
  HKEY handle;
  HKEY root = key.rfind(L"HKCU\\", 0) == 0 ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
  ASSERT_EQ(RegCreateKeyExW(root, key.substr(5).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr),
            ERROR_SUCCESS);
  const std::wstring value = install.value;
  if (value == L"Path=DWORD") {
    const DWORD one = 1;
    RegSetValueExW(handle, L"Path", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);
  } else {
    const std::wstring name = value.substr(0, value.find(L'='));
    std::wstring data = value.substr(value.find(L'=') + 1);
    if (size_t at = data.find(L"<home>"); at != std::wstring::npos) data.replace(at, 6, home);
    RegSetValueExW(handle, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
  }
  // The Adoptium keys' "JavaHome" is a flag, not a folder.
  const DWORD flag = 1;
  RegSetValueExW(handle, L"JavaHome", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&flag), sizeof flag);
  RegCloseKey(handle);
}

robot::Outcome listRuntimes(const JavaApp& app) {
  robot::Launch launch;
  launch.program = programFromEnvironment("PACKAGER_EXE");
  launch.commandLine = L"\"" + launch.program + L"\" runtimes \"" + app.path() + L"\\Shop.ini\"";
  launch.captureOutput = true;
  launch.timeoutMs = 30000;
  return robot::run(launch);
}

const std::string k21 = "JAVA_VERSION=\"21.0.5\"\n";
const std::string k17 = "JAVA_VERSION=\"17.0.13\"\n";

// Each installer's layout is found and launched, after the classic keys and
// within the settings' rules; `packager runtimes` says what the launch did,
// and why a broken registration was skipped.
TEST(RuntimeSelection, OtherInstallationsVendorKeysAndJavaHome) {
  const wchar_t* temurin = L"HKLM\\SOFTWARE\\Eclipse Adoptium\\JDK\\21.0.5.11\\hotspot\\MSI";
  const struct {
    const char* name;
    std::vector<Install> installs;
    std::string settings;
    const wchar_t* chosen;  // the folder whose jvm.dll is taken, "" for the dialog
    const char* says;       // in the packager's list
  } cases[] = {
      {"Temurin MSI", {{temurin, L"Path=<home>\\", L"temurin21", k21}}, "", L"temurin21", "\n    taken  [HKLM\\SOFTWARE\\Eclipse Adoptium"},
      {"Temurin per user", {{L"HKCU\\SOFTWARE\\Eclipse Adoptium\\JRE\\17.0.13.11\\hotspot\\MSI", L"Path=<home>\\", L"user17", k17}},
       "", L"user17", "HKCU\\SOFTWARE\\Eclipse Adoptium"},
      {"Microsoft", {{L"HKLM\\SOFTWARE\\Microsoft\\JDK\\17.0.13.11\\hotspot\\MSI", L"Path=<home>\\", L"ms17", k17}}, "", L"ms17", "17.0.13"},
      {"Zulu", {{L"HKLM\\SOFTWARE\\Azul Systems\\Zulu\\zulu-21", L"InstallationPath=<home>", L"zulu21", k21}}, "", L"zulu21", "Sun"},
      {"Liberica, version from the key", {{L"HKLM\\SOFTWARE\\BellSoft\\Liberica\\jdk-21.0.1", L"InstallationPath=<home>\\", L"liberica21", ""}},
       "", L"liberica21", "21.0.1"},
      {"Semeru needs an IBM VM Provider",
       {{L"HKLM\\SOFTWARE\\Semeru\\JDK\\21.0.5.11\\openj9\\MSI", L"Path=<home>\\", L"semeru21", k21 + "JVM_VARIANT=\"Openj9\"\n"}},
       "", L"", "vendor not wanted by VM Provider"},
      {"Semeru with VM Provider any",
       {{L"HKLM\\SOFTWARE\\Semeru\\JDK\\21.0.5.11\\openj9\\MSI", L"Path=<home>\\", L"semeru21", k21 + "JVM_VARIANT=\"Openj9\"\n"}},
       "VM Provider=any\r\n", L"semeru21", "IBM"},
      {"JAVA_HOME quoted, trailing backslash", {{L"JAVA_HOME", L"\"<home>\\\"", L"zip21", k21}}, "", L"zip21", "JAVA_HOME"},
      {"a classic runtime wins over a higher vendor one",
       {{L"JavaSoft", L"", L"classic17", k17}, {temurin, L"Path=<home>\\", L"temurin21", k21}}, "", L"classic17",
       "ranked below the one taken"},
      {"Maximum Version=17 skips Temurin 21",
       {{temurin, L"Path=<home>\\", L"temurin21", k21},
        {L"HKLM\\SOFTWARE\\Microsoft\\JDK\\17.0.13.11\\hotspot\\MSI", L"Path=<home>\\", L"ms17", k17}},
       "Maximum Version=17\r\n", L"ms17", "version outside Minimum/Maximum Version"},
      {"Search Other Installations=no", {{temurin, L"Path=<home>\\", L"temurin21", k21}},
       "Search Other Installations=no\r\n", L"", "A launch takes none"},
      {"an empty Path", {{temurin, L"Path=", L"temurin21", k21}}, "", L"", "no folder named"},
      {"a DWORD Path", {{temurin, L"Path=DWORD", L"temurin21", k21}}, "", L"", "no folder named"},
      {"a missing folder", {{temurin, L"Path=<home>\\", L"missing", k21}}, "", L"", "no bin\\java.dll"},
      {"a folder without jvm.dll", {{temurin, L"Path=<home>\\", L"no-jvm", k21}}, "", L"", "no jvm.dll of the JVM Type"},
      {"an empty release file: the key's version", {{temurin, L"Path=<home>\\", L"temurin21", "\n"}},
       "Maximum Version=17\r\n", L"", "21.0.5.11"},
      {"a huge release file is read only so far", {{temurin, L"Path=<home>\\", L"temurin21", std::string(100000, 'x') + "\n" + k17}},
       "Maximum Version=17\r\n", L"", "version outside"},
      {"JAVA_HOME naming no runtime", {{L"JAVA_HOME", L"<home>", L"missing", ""}}, "", L"", "no bin\\java.dll"},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    clearRegistryRuntimes();
    clearVendorKeys();
    JavaApp app(currentTestName() + std::to_wstring(n++));
    for (const Install& install : c.installs) registerInstall(app, install);
    app.writeIni(kApp + c.settings + kClassPath);

    robot::Outcome listed = listRuntimes(app);
    const std::string jvm = narrow(app.path()) + "\\" + narrow(c.chosen) + "\\bin\\server\\jvm.dll";
    if (c.settings.find("VM Provider=any") != std::string::npos) {
      // With IBM runtimes admitted the Java thread parks after main: the
      // launch goes on until it is ended.
      SetEnvironmentVariableW(L"TEST_JVM_JOURNAL", (app.path() + L"\\journal.txt").c_str());
      HANDLE process = instances::start(app, L"");
      SetEnvironmentVariableW(L"TEST_JVM_JOURNAL", nullptr);
      EXPECT_TRUE(instances::waitForJournal(app, "argc")) << app.journalText();
      instances::finish(process, 0);
      EXPECT_EQ(app.journal("env-QL_JVM_PATH"), std::vector<std::string>{jvm});
      EXPECT_NE(listed.output.find("A launch takes " + jvm + " "), std::string::npos) << listed.output;
      EXPECT_NE(listed.output.find(c.says), std::string::npos) << listed.output;
      continue;
    }
    robot::Outcome outcome = app.launchTraced(L"", {L"Cancel"});
    EXPECT_NE(app.traceText().find(*c.chosen ? ": " + jvm + "\r\n" : "the JRE-not-found dialog"),
              std::string::npos)
        << app.traceText();
    if (*c.chosen) {
      EXPECT_EQ(outcome.exitCodeSigned(), 0) << report(outcome);
      EXPECT_EQ(app.journal("env-QL_JVM_PATH"), std::vector<std::string>{jvm});
      EXPECT_EQ(listed.exitCodeSigned(), 0) << listed.output;
      EXPECT_NE(listed.output.find("A launch takes " + jvm + " "), std::string::npos) << listed.output;
    } else {
      EXPECT_EQ(outcome.exitCodeSigned(), -1) << report(outcome);
      EXPECT_EQ(outcome.dialogs().size(), 1u) << "the JRE-not-found dialog: " << report(outcome);
      EXPECT_EQ(listed.exitCodeSigned(), 1) << listed.output;
    }
    EXPECT_NE(listed.output.find(c.says), std::string::npos) << listed.output;
  }
  clearRegistryRuntimes();
  clearVendorKeys();
}

}  // namespace
