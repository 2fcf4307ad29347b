#pragma once
// The work behind jvm.dll's exports; exports.cpp decides which are exported.
#include <jni.h>
#include <windows.h>

namespace test_runtime {

void onProcessAttach(HMODULE module);
jint createJavaVm(JavaVM** vm, void** env, void* args);
jint defaultInitArgs(void* args);
jclass findBootClass(JNIEnv* env, const char* name);

}  // namespace test_runtime
