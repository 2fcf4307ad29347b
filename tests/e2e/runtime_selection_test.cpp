// Which runtime a launch takes: the configured folder, the one beside the
// executable, the registry; the runtime's journal shows the jvm.dll chosen.
#include <gtest/gtest.h>

#include "java_app.h"

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
  } cases[] = {
      {"configured, no trailing backslash", "<app>\\configured", true, false, "configured"},
      {"configured without jvm.dll falls through", "<app>\\empty", true, false, "jre"},
      {"beside the executable beats the registry", "", true, false, "jre"},
      {"the executable's own folder as home", "", false, true, ""},
      {"the registry last", "", false, false, "installed"},
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

    robot::Outcome outcome = app.launch();
    EXPECT_EQ(outcome.exitCodeSigned(), 0) << report(outcome);
    std::string home = narrow(app.path()) + (*c.chosen ? std::string("\\") + c.chosen : "");
    EXPECT_EQ(app.journal("env-QL_JVM_PATH"), std::vector<std::string>{home + "\\bin\\server\\jvm.dll"});
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

// The paired product takes the launch over with this launch's command line;
// with "Pair Return Code" its exit code is passed on.
TEST(RuntimeSelection, ThePairedProductRunsWithTheSameCommandLine) {
  if (otherMachineRuntime().empty()) GTEST_SKIP() << "the other machine's test runtime is not built";
  const struct {
    const char* name;
    const char* returnCode;
    int exitCode;
  } cases[] = {
      {"waited for", "yes", 5},
      {"not waited for", "", 0},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    JavaApp app(currentTestName() + std::to_wstring(n++));
    std::wstring other = app.addRuntime(L"other", otherMachineRuntime());
    app.writeIni("[Java Runtime Environment]\r\nMain Class=test.Exit\r\nJRE Path=" + narrow(other) + "\r\n" +
                 kClassPath + "[Application]\r\nPair Product=" + narrow(app.path()) +
                 "\\Shop64.exe\r\nPair Return Code=" + c.returnCode + "\r\n");
    // The sibling runs the application with a runtime of its own machine.
    app.folder().installLauncher(L"Shop64.exe");
    app.addRuntime(L"jre");
    app.folder().writeFile(L"Shop64.ini", "[Java Runtime Environment]\r\nMain Class=test.Exit\r\n" + kClassPath);

    robot::Outcome outcome = app.launch(L"5");
    EXPECT_EQ(outcome.exitCodeSigned(), c.exitCode) << report(outcome);
    EXPECT_EQ(outcome.dialogs().size(), 0u) << report(outcome);
    // Not waited for, the sibling may still be running: wait for its main.
    for (int i = 0; i < 200 && app.journal("exit").empty(); ++i) Sleep(50);
    EXPECT_EQ(app.journal("arg"), std::vector<std::string>{"5"}) << app.journalText();
    EXPECT_EQ(app.journal("env-QL_JVM_PATH"), std::vector<std::string>{narrow(app.path()) + "\\jre\\bin\\server\\jvm.dll"});
  }
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
// (ARM64) is reported at once, and two copies that name each other as
// paired product do not send a launch back and forth.
TEST(RuntimeSelection, ThePairedProductsNeverRelayALaunchMoreThanOnce) {
  const struct {
    const char* name;
    bool arm64;     // else the other machine's runtime
    int processes;  // launchers started, the first one included
  } cases[] = {
      {"a runtime neither product loads", true, 1},
      {"copies naming each other", false, 2},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (!c.arm64 && otherMachineRuntime().empty()) {
      std::printf("[  SKIPPED ] %s: the other machine's test runtime is not built\n", c.name);
      continue;
    }
    JavaApp app(currentTestName() + std::to_wstring(n++));
    const std::wstring home = app.addRuntime(L"other", c.arm64 ? testRuntime() : otherMachineRuntime());
    const std::wstring jvm = home + L"\\bin\\server\\jvm.dll";
    if (c.arm64) setMachine(jvm, 0xAA64);
    const std::string settings = kApp + "JRE Path=" + narrow(home) + "\r\n" + kClassPath +
                                 "[Application]\r\nPair Return Code=yes\r\nPair Product=" + narrow(app.path());
    app.writeIni(settings + "\\Shop64.exe\r\n");
    app.folder().installLauncher(L"Shop64.exe");
    app.folder().writeFile(L"Shop64.ini", settings + "\\Shop.exe\r\n");

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
