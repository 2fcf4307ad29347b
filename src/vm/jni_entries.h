#pragma once
// The entry points a Java runtime library exports, as the launcher calls them.
#include <jni.h>

using CreateJavaVmEntry = jint(JNICALL*)(JavaVM** vm, void** env, void* args);
using DefaultInitArgsEntry = jint(JNICALL*)(void* args);
using FindClassFromBootLoaderEntry = jclass(JNICALL*)(JNIEnv* env, const char* name);

// The entry points of a loaded jvm.dll.
struct JvmEntries {
  CreateJavaVmEntry createJavaVm = nullptr;
  DefaultInitArgsEntry defaultInitArgs = nullptr;
  FindClassFromBootLoaderEntry findClassFromBootLoader = nullptr;  // optional
};

// The JNI 1.1 init-args record. Current jni.h files no longer declare it, but
// runtimes still fill in its default Java stack size.
struct Jdk11InitArgs {
  jint version;
  char** properties;
  jint checkSource;
  jint nativeStackSize;
  jint javaStackSize;
  jint minHeapSize;
  jint maxHeapSize;
  jint verifyMode;
  char* classpath;
  void* vfprintfHook;
  void* exitHook;
  void* abortHook;
  jint enableClassGC;
  jint enableVerboseGC;
  jint disableAsyncGC;
  jint verbose;
  jboolean debugging;
  jint debugPort;
};
