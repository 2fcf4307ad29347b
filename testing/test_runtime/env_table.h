#pragma once
// The JNIEnv function table shared by every thread's environment.
#include <jni.h>

namespace test_runtime {

const JNINativeInterface_& envTable();

}  // namespace test_runtime
