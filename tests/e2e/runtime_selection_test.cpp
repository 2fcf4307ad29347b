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
