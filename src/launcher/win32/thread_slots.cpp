#include "launcher/win32/thread_slots.h"

#include <algorithm>

void ThreadSlots::forgetEnded() {
  auto ended = [](const UniqueHandle& thread) { return WaitForSingleObject(thread.get(), 0) != WAIT_TIMEOUT; };
  threads_.erase(std::remove_if(threads_.begin(), threads_.end(), ended), threads_.end());
}

bool ThreadSlots::start(LPTHREAD_START_ROUTINE procedure, void* parameter) {
  forgetEnded();
  if (threads_.size() >= kCapacity) return false;
  HANDLE thread = CreateThread(nullptr, 0, procedure, parameter, 0, nullptr);
  if (!thread) return false;
  threads_.emplace_back(thread);  // never reallocates: the room was reserved
  return true;
}

bool ThreadSlots::waitForAll(DWORD timeoutMs) {
  if (threads_.empty()) return true;
  HANDLE handles[kCapacity];
  DWORD count = 0;
  for (const UniqueHandle& thread : threads_) handles[count++] = thread.get();
  if (WaitForMultipleObjects(count, handles, TRUE, timeoutMs) == WAIT_TIMEOUT) return false;
  threads_.clear();
  return true;
}
