#pragma once
// Java threads of the stand-in: the creating thread, attached threads and the
// threads the test classes start. Each attached thread has its own JNIEnv.
#include <jni.h>
#include <windows.h>

#include <string>
#include <string_view>

namespace test_runtime {

struct Object;
class Thread;

// A JNIEnv is the first member, so the environment leads back to its thread.
struct ThreadEnv {
  JNIEnv_ env;
  Thread* thread;
};

class Thread {
 public:
  Thread(DWORD id, std::string name);
  Thread(const Thread&) = delete;
  Thread& operator=(const Thread&) = delete;

  DWORD id() const { return id_; }
  const std::string& name() const { return name_; }
  JNIEnv* env() { return &env_.env; }

  Object* pending() const { return pending_; }
  void setPending(Object* exception) { pending_ = exception; }
  // Sets a new pending exception of a runtime class; `origin` is the dotted
  // class.method shown in its stack trace.
  void raise(std::string_view className, std::u16string_view message, std::string origin);

 private:
  ThreadEnv env_;
  DWORD id_;
  std::string name_;
  Object* pending_ = nullptr;
};

Thread& threadOf(JNIEnv* env);

// The calling thread's entry, or null when it is not attached.
Thread* currentThread();
// Attaches the calling thread (or returns its entry when already attached).
Thread& attachCurrentThread(const char* name, bool daemon = false);
bool detachCurrentThread();

// Starts a non-daemon thread of the "VM"; DestroyJavaVM waits for all of them.
void startJavaThread(LPTHREAD_START_ROUTINE body);
// Waits, as DestroyJavaVM does, until the started threads have ended and no
// other non-daemon thread is attached.
void waitForJavaThreads();

}  // namespace test_runtime
