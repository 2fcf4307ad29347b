#pragma once
// The JNI 1.1 init-args record, which today's jni.h no longer declares.
// Only its leading fields matter here; the layout is the historical one.
#include <jni.h>

#include <cstdio>

namespace test_runtime {

struct InitArgs11 {
  jint version;
  char** properties;
  jint checkSource;
  jint nativeStackSize;
  jint javaStackSize;
  jint minHeapSize;
  jint maxHeapSize;
  jint verifyMode;
  char* classpath;
  jint(JNICALL* vfprintf)(FILE* fp, const char* format, va_list args);
  void(JNICALL* exit)(jint code);
  void(JNICALL* abort)();
  jint enableClassGC;
  jint enableVerboseGC;
  jint disableAsyncGC;
  jint verbose;
  jboolean debugging;
  jint debugPort;
};

}  // namespace test_runtime
