#pragma once
// A bounded set of worker threads, each started for one piece of work, all of
// them finished before the set goes away, so that whatever they use outlives
// them. Used from one thread.
#include <windows.h>

#include <vector>

#include "common/win32/unique_resource.h"

class ThreadSlots {
 public:
  // One wait covers every running thread.
  static constexpr size_t kCapacity = MAXIMUM_WAIT_OBJECTS;

  ThreadSlots() { threads_.reserve(kCapacity); }
  ~ThreadSlots() { waitForAll(INFINITE); }
  ThreadSlots(const ThreadSlots&) = delete;
  ThreadSlots& operator=(const ThreadSlots&) = delete;

  // Runs procedure(parameter) on a thread of its own. False, and nothing
  // started, when kCapacity threads still run or no thread can be created:
  // the caller keeps `parameter` then.
  bool start(LPTHREAD_START_ROUTINE procedure, void* parameter);
  // Returns once every thread started has ended, true; false when some still
  // run after `timeoutMs`.
  bool waitForAll(DWORD timeoutMs);

 private:
  void forgetEnded();
  std::vector<UniqueHandle> threads_;
};
