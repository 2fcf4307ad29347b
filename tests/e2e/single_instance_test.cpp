// Single instance with real processes: a first instance that stays up, and
// secondary launches whose arguments reach its secondaryMain.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "instances.h"

namespace {

using namespace instances;

TEST(SingleInstance, SecondaryArgumentsReachTheFirstInstance) {
  const struct {
    const char* mainClass;
    const wchar_t* arguments;
    int exitCode;
    const char* delivered;
    bool console = false;  // both launches by the console flavour
  } cases[] = {
      {"test.Secondary", L"a \"b c\"", 0, "a|b c"},
      {"test.Secondary", L"", 0, ""},  // one empty string
      {"test.Secondary", L"first \"\" third", 0, "first||third"},
      {"test.SecondaryInt", L"x y z", 43, "x|y|z"},
      {"test.SecondaryInt", L"x y z", 43, "x|y|z", true},
      {"test.Sekund\xC3\xA4r", L"\u00e4 \u4e2d", 0, "\xC3\xA4|\xE4\xB8\xAD"},  // the settings file is UTF-8
      // A module's main class, which only the runtime's launcher class finds.
      {"shop.app/test.Secondary\r\nModule Path=C:\\mods", L"in a module", 0, "in|a|module"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.mainClass) + " " + narrow(c.arguments) + (c.console ? " (console)" : ""));
    JavaApp app(currentTestName());
    if (c.console) app.folder().installProgram(programFromEnvironment("CONSOLE_LAUNCHER_EXE"), L"Shop.exe");
    app.addRuntime(L"jre");
    FirstInstance first(app, c.mainClass);
    EXPECT_EQ(first.secondary(c.arguments), c.exitCode);
    ASSERT_TRUE(waitForJournal(app, "secondary")) << app.journalText();
    EXPECT_EQ(app.journal("secondary"), std::vector<std::string>{c.delivered});
    EXPECT_EQ(app.journal("main").size(), 1u) << "the secondary launch started no VM";
  }
}

// Launches that arrive together take turns on the block: while the first
// instance runs, while it creates its VM, and while it is stalled for longer
// than a launch waits for its turn. Each is delivered exactly once, or ends
// with -1 undelivered; none is lost.
TEST(SingleInstance, ConcurrentSecondariesAreEachDeliveredOnce) {
  const struct {
    const char* name;
    const char* vmOption;
    const char* reachedKey;
    bool stalled;
  } cases[] = {
      {"running", "", "main", false},
      {"starting", "-Dtest.jvm.create-delay=3000", "create-thread", false},
      {"stalled", "-Dtest.jvm.freeze=12000", "freeze", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    JavaApp app(currentTestName() + L"-" + std::wstring(c.name, c.name + strlen(c.name)));
    app.addRuntime(L"jre");
    const BurstTally tally = burstOfSecondaries(app, c.vmOption, c.reachedKey, 6);
    EXPECT_EQ(tally.deliveredOnce + tally.refused, 6) << tally.text();
    if (!c.stalled) {
      EXPECT_EQ(tally.deliveredOnce, 6) << tally.text();
    } else {
      // The launch whose request is in the block waits out the stall.
      EXPECT_GE(tally.deliveredOnce, 1) << tally.text();
      ASSERT_EQ(app.journal("thawed").size(), 1u);
      EXPECT_GE(std::stoi(app.journal("thawed")[0]), 2) << "the listener stopped with the rest";
    }
  }
}

// The block outlives its first instance while another process still holds
// it (here the test; in use a launch that was just starting): a launch that
// finds the first instance gone takes its place at once.
TEST(SingleInstance, ARelaunchRightAfterTheFirstInstanceEndedRunsItsOwnVm) {
  JavaApp app(currentTestName());
  app.addRuntime(L"jre");
  std::wstring blockName = app.path() + L"\\Shop.exe";
  std::replace(blockName.begin(), blockName.end(), L'\\', L'_');
  HANDLE block = nullptr;
  {
    FirstInstance first(app, "test.Secondary");
    block = OpenFileMappingW(FILE_MAP_READ, FALSE, blockName.c_str());
    EXPECT_NE(block, nullptr) << narrow(blockName);
    EXPECT_EQ(first.end(), 0);
  }
  {
    const ULONGLONG started = GetTickCount64();
    FirstInstance again(app, "test.Secondary");
    EXPECT_LT(GetTickCount64() - started, 8000u) << "a hand-over used to give up only after ten seconds";
    EXPECT_EQ(app.journal("main").size(), 2u) << app.journalText();
    EXPECT_EQ(again.secondary(L"\"to the new one\""), 0);
    ASSERT_TRUE(waitForJournal(app, "secondary")) << app.journalText();
  }
  if (block) CloseHandle(block);
  EXPECT_EQ(app.journal("secondary"), std::vector<std::string>{"to the new one"});
}

TEST(SingleInstance, OverlongRequestsAndLaunchesThatAreNotSecondary) {
  JavaApp app(currentTestName());
  app.addRuntime(L"jre");
  {
    FirstInstance first(app, "test.Secondary");
    EXPECT_EQ(first.secondary(std::wstring(520, L'x')), -1) << "1044 bytes do not fit";
    EXPECT_EQ(first.secondary(std::wstring(517, L'x')), 0) << "1038 bytes do";
    // A copy elsewhere is an application of its own.
    JavaApp other(currentTestName() + L"-copy");
    other.addRuntime(L"jre");
    other.writeIni(std::string("[Java Runtime Environment]\r\nMain Class=test.Echo\r\n") + kClassPath +
                   "[Application]\r\nSingle Instance=yes\r\n");
    EXPECT_EQ(finish(start(other, L"own")), 0);
    EXPECT_EQ(app.journal("arg"), (std::vector<std::string>{"first", "own"})) << "both ran main: one journal here";
  }
  EXPECT_EQ(app.journal("secondary").size(), 1u);

  // Only exactly "yes" enables it, and never for a service.
  for (const char* setting : {"Single Instance=Yes\r\n", "Single Instance=YES\r\n",
                              "Single Instance=yes\r\nApplication Type=service\r\n"}) {
    SCOPED_TRACE(setting);
    JavaApp plain(currentTestName() + L"-plain");
    plain.addRuntime(L"jre");
    plain.writeIni(std::string("[Java Runtime Environment]\r\nMain Class=test.Threaded\r\n") + kClassPath +
                   "[Application]\r\n" + setting);
    SetEnvironmentVariableW(L"TEST_JVM_JOURNAL", (plain.path() + L"\\journal.txt").c_str());
    HANDLE one = start(plain, L"one");
    HANDLE two = start(plain, L"two");
    EXPECT_EQ(finish(one), 0);
    EXPECT_EQ(finish(two), 0);
    SetEnvironmentVariableW(L"TEST_JVM_JOURNAL", nullptr);
    EXPECT_EQ(plain.journal("main").size(), 2u) << plain.journalText();
  }
}

TEST(SingleInstance, WithoutSecondaryMainTheSecondaryEndsWithTheFirstInstance) {
  JavaApp app(currentTestName());
  app.addRuntime(L"jre");
  app.writeIni(std::string("[Java Runtime Environment]\r\nMain Class=test.Threaded\r\n") + kClassPath +
               "[Application]\r\nSingle Instance=yes\r\n");
  SetEnvironmentVariableW(L"TEST_JVM_JOURNAL", (app.path() + L"\\journal.txt").c_str());
  HANDLE first = start(app, L"first");
  ASSERT_TRUE(waitForJournal(app, "main"));
  HANDLE second = start(app, L"second");
  EXPECT_EQ(finish(second), 0) << "the first instance's exit code";
  EXPECT_EQ(WaitForSingleObject(first, 0), WAIT_OBJECT_0) << "the secondary waited for the first to end";
  EXPECT_EQ(finish(first), 0);
  SetEnvironmentVariableW(L"TEST_JVM_JOURNAL", nullptr);
  EXPECT_EQ(app.journal("main").size(), 1u);
}

TEST(SingleInstance, ASecondaryDuringTheVmStartIsDeliveredOnceMainRuns) {
  JavaApp app(currentTestName());
  app.addRuntime(L"jre");
  HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, L"test_runtime_stop");
  ResetEvent(stop);
  app.writeIni(std::string("[Java Runtime Environment]\r\nMain Class=test.Secondary\r\n") +
               "Virtual Machine Parameters=-Dtest.jvm.create-delay=2000\r\n" + kClassPath +
               "[Application]\r\nSingle Instance=yes\r\n");
  SetEnvironmentVariableW(L"TEST_JVM_JOURNAL", (app.path() + L"\\journal.txt").c_str());
  HANDLE first = start(app, L"first");
  ASSERT_TRUE(waitForJournal(app, "create-thread")) << "the first instance is creating its VM";
  EXPECT_EQ(finish(start(app, L"early")), 0);
  ASSERT_TRUE(waitForJournal(app, "secondary")) << app.journalText();
  std::string journal = app.journalText();
  EXPECT_LT(journal.find("main=test/Secondary"), journal.find("secondary=early")) << journal;
  SetEvent(stop);
  EXPECT_EQ(finish(first), 0);
  CloseHandle(stop);
  SetEnvironmentVariableW(L"TEST_JVM_JOURNAL", nullptr);
}

// A launch that meets a first instance whose VM takes longer to shut down
// than a launch waits for it says so and ends with -1; the first instance
// still ends.
TEST(SingleInstance, ALaunchDuringAShutdownTooLongToWaitForSaysSo) {
  JavaApp app(currentTestName());
  app.addRuntime(L"jre");
  FirstInstance first(app, "test.Secondary",
                      "[Java Runtime Environment+]\r\nVirtual Machine Parameters=-Dtest.jvm.shutdown-delay=25000\r\n");
  HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, L"test_runtime_stop");
  SetEvent(stop);
  ASSERT_TRUE(waitForJournal(app, "shutdown-hook-ended")) << "the launcher's hook has run: " << app.journalText();
  const robot::Outcome late = app.launch(L"late");
  EXPECT_EQ(late.exitCodeSigned(), -1);
  EXPECT_EQ(onlyMessage(late), "The application is still closing. Please start it again in a moment.");
  EXPECT_EQ(first.end(), 0);
  CloseHandle(stop);
}

// A service destroys its VM on the Java thread once main returns; otherwise
// the main thread does it when the launch ends.
TEST(ServiceMode, TheJavaThreadDestroysTheVm) {
  for (const char* type : {"service", "Service"}) {
    SCOPED_TRACE(type);
    JavaApp app(currentTestName() + (type[0] == 's' ? L"-service" : L"-normal"));
    app.addRuntime(L"jre");
    app.writeIni(std::string("[Java Runtime Environment]\r\nMain Class=test.Threaded\r\n") + kClassPath +
                 "[Application]\r\nApplication Type=" + type + "\r\n");
    robot::Outcome outcome = app.launch();
    EXPECT_EQ(outcome.exitCodeSigned(), 0) << report(outcome);
    ASSERT_EQ(app.journal("destroy").size(), 1u) << app.journalText();
    std::string destroyer = app.journal("destroy")[0];
    std::string expected = type[0] == 's' ? app.journal("create-thread")[0] : app.journal("loaded-thread")[0];
    EXPECT_EQ(destroyer, expected) << app.journalText();
  }
}

}  // namespace
