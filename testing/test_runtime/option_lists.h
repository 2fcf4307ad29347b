#pragma once
// Keeps each option list a launch handed to JNI_CreateJavaVM, with the
// stand-in's verdict on it, for the replay against the real JVMs: one file
// per creation in the folder TEST_JVM_OPTION_LISTS names (a Windows path, or
// a Unix path reached through drive Z:). Nothing is kept when it is unset.
#include <jni.h>

#include <string>
#include <vector>

namespace test_runtime {

void keepOptionList(jint verdict, const std::vector<std::string>& options);

}  // namespace test_runtime
