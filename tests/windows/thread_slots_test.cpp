#include "launcher/win32/thread_slots.h"

#include <gtest/gtest.h>

#include <atomic>

namespace {

struct Work {
  UniqueHandle go{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  std::atomic<int> ended{0};
};

DWORD WINAPI waitForGo(void* parameter) {
  auto* work = static_cast<Work*>(parameter);
  WaitForSingleObject(work->go.get(), 30000);
  ++work->ended;
  return 0;
}

DWORD WINAPI pauseBriefly(void* parameter) {
  Sleep(200);
  ++static_cast<Work*>(parameter)->ended;
  return 0;
}

bool waitForEnded(const Work& work, int count) {
  for (int i = 0; i < 1000 && work.ended < count; ++i) Sleep(10);
  return work.ended == count;
}

TEST(ThreadSlots, AtMostSixtyFourRunAtOnceAndEndedOnesGiveTheirSlotBack) {
  Work work;
  ThreadSlots slots;
  for (size_t i = 0; i < ThreadSlots::kCapacity; ++i) ASSERT_TRUE(slots.start(waitForGo, &work)) << i;
  EXPECT_FALSE(slots.start(waitForGo, &work)) << "every slot is taken";
  EXPECT_FALSE(slots.waitForAll(50)) << "a bounded wait ends while they run";
  SetEvent(work.go.get());
  ASSERT_TRUE(waitForEnded(work, 64));
  // A slot comes back when its thread has ended, a moment after its work.
  bool started = false;
  for (int i = 0; i < 1000 && !(started = slots.start(waitForGo, &work)); ++i) Sleep(10);
  EXPECT_TRUE(started);
  EXPECT_TRUE(slots.waitForAll(INFINITE));
  EXPECT_EQ(work.ended, 65);
}

TEST(ThreadSlots, EveryThreadHasEndedOnceTheSetIsGone) {
  Work work;
  {
    ThreadSlots slots;
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(slots.start(pauseBriefly, &work));
  }
  EXPECT_EQ(work.ended, 5);
}

}  // namespace
