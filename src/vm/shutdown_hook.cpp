#include "vm/shutdown_hook.h"

#include <cstdint>

namespace {

// The hook's one class, as a class file of version 49 (Java 5), so that
// every runtime takes it:
//   final class LauncherShutdownHook implements Runnable {
//     public native void run();
//   }
// It has no constructor: the instance comes from AllocObject, which is all
// a subclass of Object needs.
constexpr char kClassName[] = "LauncherShutdownHook";
constexpr uint8_t kClassFile[] = {
    0xCA, 0xFE, 0xBA, 0xBE, 0x00, 0x00, 0x00, 0x31,  // magic, version 49.0
    0x00, 0x09,                                      // constant pool: 8 entries
    0x07, 0x00, 0x02,                                // #1 Class #2
    0x01, 0x00, 0x14, 'L', 'a', 'u', 'n', 'c', 'h', 'e', 'r', 'S', 'h', 'u', 't', 'd', 'o', 'w', 'n', 'H', 'o', 'o',
    'k',                                    // #2 Utf8
    0x07, 0x00, 0x04,                       // #3 Class #4
    0x01, 0x00, 0x10, 'j', 'a', 'v', 'a', '/', 'l', 'a', 'n', 'g', '/', 'O', 'b', 'j', 'e', 'c', 't',  // #4
    0x07, 0x00, 0x06,                                                                                  // #5 Class #6
    0x01, 0x00, 0x12, 'j', 'a', 'v', 'a', '/', 'l', 'a', 'n', 'g', '/', 'R', 'u', 'n', 'n', 'a', 'b', 'l', 'e',  // #6
    0x01, 0x00, 0x03, 'r', 'u', 'n',                                                                           // #7
    0x01, 0x00, 0x03, '(', ')', 'V',                                                                           // #8
    0x00, 0x30,              // final, super
    0x00, 0x01, 0x00, 0x03,  // this #1, super #3
    0x00, 0x01, 0x00, 0x05,  // implements #5
    0x00, 0x00,              // no fields
    0x00, 0x01,              // one method:
    0x01, 0x01, 0x00, 0x07, 0x00, 0x08, 0x00, 0x00,  //   public native run()V, no attributes
    0x00, 0x00,                                      // no attributes
};

// One hook per process; written before the VM can call it.
ShutdownCallback shutdownCallback = nullptr;
void* shutdownContext = nullptr;

void JNICALL runHook(JNIEnv*, jobject) {
  if (shutdownCallback) shutdownCallback(shutdownContext);
}

bool failed(JNIEnv* env) {
  if (!env->ExceptionCheck()) return false;
  env->ExceptionClear();
  return true;
}

jobject newHookThread(JNIEnv* env, jclass hookClass) {
  JNINativeMethod run{const_cast<char*>("run"), const_cast<char*>("()V"), reinterpret_cast<void*>(&runHook)};
  if (env->RegisterNatives(hookClass, &run, 1) != JNI_OK) return nullptr;
  jobject runnable = env->AllocObject(hookClass);
  jclass threadClass = env->FindClass("java/lang/Thread");
  if (!runnable || !threadClass) return nullptr;
  jmethodID constructor = env->GetMethodID(threadClass, "<init>", "(Ljava/lang/Runnable;Ljava/lang/String;)V");
  jstring name = env->NewStringUTF("launcher shutdown");
  if (!constructor || !name) return nullptr;
  return env->NewObject(threadClass, constructor, runnable, name);
}

}  // namespace

bool addShutdownCallback(JNIEnv* env, ShutdownCallback callback, void* context) {
  shutdownCallback = callback;
  shutdownContext = context;
  bool added = false;
  jclass hookClass = env->DefineClass(kClassName, nullptr, reinterpret_cast<const jbyte*>(kClassFile),
                                      static_cast<jsize>(sizeof kClassFile));
  jobject thread = hookClass ? newHookThread(env, hookClass) : nullptr;
  jclass runtimeClass = thread ? env->FindClass("java/lang/Runtime") : nullptr;
  if (runtimeClass) {
    jmethodID getRuntime = env->GetStaticMethodID(runtimeClass, "getRuntime", "()Ljava/lang/Runtime;");
    jmethodID addHook = env->GetMethodID(runtimeClass, "addShutdownHook", "(Ljava/lang/Thread;)V");
    jobject runtime = getRuntime && addHook ? env->CallStaticObjectMethod(runtimeClass, getRuntime) : nullptr;
    if (runtime) env->CallVoidMethod(runtime, addHook, thread);
    added = runtime && !env->ExceptionCheck();
  }
  failed(env);
  return added;
}
