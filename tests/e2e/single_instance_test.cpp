// Single instance with real processes: a first instance that stays up, and
// secondary launches whose arguments reach its secondaryMain.
#include <gtest/gtest.h>

#include <algorithm>

#include "instances.h"

namespace {

using namespace instances;

TEST(SingleInstance, SecondaryArgumentsReachTheFirstInstance) {
  const struct {
    const char* mainClass;
    const wchar_t* arguments;
    int exitCode;
    const char* delivered;
  } cases[] = {
      {"test.Secondary", L"a \"b c\"", 0, "a|b c"},
      {"test.Secondary", L"", 0, ""},  // one empty string
      {"test.Secondary", L"first \"\" third", 0, "first||third"},
      {"test.SecondaryInt", L"x y z", 43, "x|y|z"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.mainClass) + " " + narrow(c.arguments));
    JavaApp app(currentTestName());
    app.addRuntime(L"jre");
    FirstInstance first(app, c.mainClass);
    EXPECT_EQ(first.secondary(c.arguments), c.exitCode);
    ASSERT_TRUE(waitForJournal(app, "secondary")) << app.journalText();
    EXPECT_EQ(app.journal("secondary"), std::vector<std::string>{c.delivered});
    EXPECT_EQ(app.journal("main").size(), 1u) << "the secondary launch started no VM";
  }
}

TEST(SingleInstance, ConcurrentSecondariesAreEachDeliveredOnce) {
  JavaApp app(currentTestName());
  app.addRuntime(L"jre");
  FirstInstance first(app, "test.Secondary");
  std::vector<HANDLE> launches;
  for (int i = 0; i < 6; ++i) launches.push_back(start(app, L"request " + std::to_wstring(i)));
  for (HANDLE launch : launches) EXPECT_EQ(finish(launch), 0);
  ASSERT_TRUE(waitForJournal(app, "secondary", 6)) << app.journalText();
  std::vector<std::string> delivered = app.journal("secondary");
  std::sort(delivered.begin(), delivered.end());
  EXPECT_EQ(delivered, (std::vector<std::string>{"request|0", "request|1", "request|2", "request|3", "request|4",
                                                 "request|5"}));
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
