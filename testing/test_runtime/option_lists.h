#pragma once
// Keeps each option list a launch handed to JNI_CreateJavaVM, with the
// stand-in's verdict on it, for the replay against the real JVMs: one file
// per creation in the folder TEST_JVM_OPTION_LISTS names (a Windows path, or
// a Unix path reached through drive Z:). Nothing is kept when it is unset.
#include <jni.h>

#include <string>
#include <vector>

namespace test_runtime {

// `javaVersion`: the version the stand-in played (0: any), so that the
// replay uses only real JVMs at least that new.
void keepOptionList(jint verdict, int javaVersion, const std::vector<std::string>& options);

}  // namespace test_runtime
