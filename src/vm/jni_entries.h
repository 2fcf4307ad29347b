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
