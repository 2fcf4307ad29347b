#include "thread.h"

#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <vector>

#include "env_table.h"
#include "objects.h"

namespace test_runtime {
namespace {

struct Registry {
  std::mutex lock;
  std::condition_variable detached;
  std::map<DWORD, std::unique_ptr<Thread>> attached;
  std::set<DWORD> daemons;
  std::vector<HANDLE> started;
  int unnamed = 0;
};

// Never destroyed: threads may still run while the process ends.
Registry& registry() {
  static auto* instance = new Registry;
  return *instance;
}

}  // namespace

Thread::Thread(DWORD id, std::string name) : id_(id), name_(std::move(name)) {
  env_.env.functions = &envTable();
  env_.thread = this;
}

void Thread::raise(std::string_view className, std::u16string_view message, std::string origin) {
  auto* exception = make<ThrowableObject>(findClass(className));
  exception->hasMessage = true;
  exception->message = message;
  exception->origin = std::move(origin);
  pending_ = exception;
}

Thread& threadOf(JNIEnv* env) { return *reinterpret_cast<ThreadEnv*>(env)->thread; }

Thread* currentThread() {
  Registry& reg = registry();
  const std::lock_guard<std::mutex> guard(reg.lock);
  const auto found = reg.attached.find(GetCurrentThreadId());
  return found == reg.attached.end() ? nullptr : found->second.get();
}

Thread& attachCurrentThread(const char* name, bool daemon) {
  Registry& reg = registry();
  const std::lock_guard<std::mutex> guard(reg.lock);
  const DWORD id = GetCurrentThreadId();
  auto& slot = reg.attached[id];
  if (!slot) {
    if (daemon) reg.daemons.insert(id);
    std::string threadName = name ? name : "Thread-" + std::to_string(reg.unnamed++);
    slot = std::make_unique<Thread>(id, std::move(threadName));
  }
  return *slot;
}

bool detachCurrentThread() {
  Registry& reg = registry();
  const std::lock_guard<std::mutex> guard(reg.lock);
  reg.daemons.erase(GetCurrentThreadId());
  const bool wasAttached = reg.attached.erase(GetCurrentThreadId()) > 0;
  reg.detached.notify_all();
  return wasAttached;
}

void startJavaThread(LPTHREAD_START_ROUTINE body) {
  HANDLE thread = CreateThread(nullptr, 0, body, nullptr, 0, nullptr);
  if (!thread) return;
  Registry& reg = registry();
  const std::lock_guard<std::mutex> guard(reg.lock);
  reg.started.push_back(thread);
}

void waitForJavaThreads() {
  Registry& reg = registry();
  for (;;) {
    HANDLE next = nullptr;
    {
      const std::lock_guard<std::mutex> guard(reg.lock);
      if (reg.started.empty()) break;
      next = reg.started.back();
      reg.started.pop_back();
    }
    WaitForSingleObject(next, INFINITE);
    CloseHandle(next);
  }
  const DWORD self = GetCurrentThreadId();
  std::unique_lock<std::mutex> guard(reg.lock);
  reg.detached.wait(guard, [&] {
    for (const auto& [id, thread] : reg.attached) {
      if (id != self && !reg.daemons.contains(id)) return false;
    }
    return true;
  });
}

}  // namespace test_runtime
