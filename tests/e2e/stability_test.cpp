// Long runs: many launches in a row, many secondary launches against one
// first instance, which must not accumulate handles or memory, and bursts of
// secondary launches at once (make soak repeats those).
#include <gtest/gtest.h>

#include <cstdio>

#include "instances.h"

namespace {

using namespace instances;

TEST(Stability, FiveHundredLaunchesInARowEachRunMain) {
  JavaApp app(currentTestName());
  app.addRuntime(L"jre");
  app.writeIni("[Java Runtime Environment]\r\nMain Class=test.Exit\r\n" + kClassPath);
  const std::wstring journal = app.path() + L"\\journal.txt";
  SetEnvironmentVariableW(L"TEST_JVM_JOURNAL", journal.c_str());
  SetEnvironmentVariableW(L"TEST_JVM_JOURNAL_OPTIONS", L"0");
  int failures = 0;
  for (int launch = 0; launch < 500 && failures < 5; ++launch) {
    const int exitCode = finish(start(app, std::to_wstring(launch % 100)));
    if (exitCode != launch % 100) {
      ADD_FAILURE() << "launch " << launch << " ended with " << exitCode;
      ++failures;
    }
  }
  SetEnvironmentVariableW(L"TEST_JVM_JOURNAL_OPTIONS", nullptr);
  SetEnvironmentVariableW(L"TEST_JVM_JOURNAL", nullptr);
  EXPECT_EQ(app.journal("main").size(), 500u);
  EXPECT_EQ(app.journal("exit").size(), 500u);
}

TEST(Stability, AHundredSecondariesLeaveTheFirstInstanceAsItWas) {
  JavaApp app(currentTestName());
  app.addRuntime(L"jre");
  FirstInstance first(app, "test.Secondary", "[Java Runtime Environment+]\r\nVirtual Machine Parameters=-Dtest.jvm.journal-footprint\r\n");
  // The first deliveries set up what later ones reuse: compare from the tenth on.
  for (int n = 0; n < 110; ++n) ASSERT_EQ(first.secondary(L"run " + std::to_wstring(n)), 0) << n;
  ASSERT_TRUE(waitForJournal(app, "secondary-working-set", 110));
  const auto handles = app.journal("secondary-handles");
  const auto memory = app.journal("secondary-working-set");
  ASSERT_EQ(handles.size(), 110u);
  ASSERT_EQ(memory.size(), 110u);
  const long long handlesBefore = std::stoll(handles[9]), handlesAfter = std::stoll(handles[109]);
  const long long memoryBefore = std::stoll(memory[9]), memoryAfter = std::stoll(memory[109]);
  EXPECT_GT(handlesBefore, 0);
  EXPECT_LE(handlesAfter, handlesBefore + 5);
  EXPECT_LE(memoryAfter, memoryBefore + 2 * 1024 * 1024);
  std::printf("first instance over 100 secondaries: %lld -> %lld handles, %lld -> %lld KB resident\n", handlesBefore,
              handlesAfter, memoryBefore / 1024, memoryAfter / 1024);
}

// Thirty launches at once while the first instance creates its VM, while it
// is stalled for longer than a launch waits for its turn, and while its VM
// shuts down for two seconds (the application's shutdown hook), with
// deliveries that take a moment: each is delivered exactly once, runs its
// own VM once the first instance has ended, or ends with -1; none is lost
// and none hangs, and the first instance ends.
TEST(Stability, ThirtySecondariesAtOnceAreEachDeliveredOnceOrRefused) {
  const struct {
    const char* name;
    const wchar_t* folder;
    const char* vmOption;
    const char* reachedKey;
    bool duringShutdown;
  } cases[] = {
      {"while the VM starts", L"-starting", "-Dtest.jvm.create-delay=3000", "create-thread", false},
      {"while stalled", L"-stalled", "-Dtest.jvm.freeze=15000", "freeze", false},
      {"while it shuts down", L"-closing", "-Dtest.jvm.shutdown-delay=2000 -Dtest.jvm.secondary-delay=300", "main",
       true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    JavaApp app(currentTestName() + c.folder);
    app.addRuntime(L"jre");
    const BurstTally tally = burstOfSecondaries(app, c.vmOption, c.reachedKey, 30, c.duringShutdown);
    EXPECT_EQ(tally.deliveredOnce + tally.ranOwnVm + tally.refused, 30) << tally.text();
    std::printf("burst of 30 secondaries %s: %s\n", c.name, tally.text().c_str());
  }
}

}  // namespace
