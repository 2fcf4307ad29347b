#pragma once
// The JNI 1.1 init-args record. Current jni.h files no longer declare it, but
// runtimes still fill in its default Java stack size. Only its leading fields
// are read; the layout is the historical one.
#include <jni.h>

#include <cstdarg>
#include <cstdio>

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
  jint(JNICALL* vfprintfHook)(FILE* stream, const char* format, va_list args);
  void(JNICALL* exitHook)(jint code);
  void(JNICALL* abortHook)();
  jint enableClassGC;
  jint enableVerboseGC;
  jint disableAsyncGC;
  jint verbose;
  jboolean debugging;
  jint debugPort;
};
