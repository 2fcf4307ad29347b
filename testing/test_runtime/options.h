#pragma once
// Which JavaVMOption strings the stand-in accepts.
#include <jni.h>

#include <optional>
#include <string_view>

namespace test_runtime {

bool recognisedOption(std::string_view option);

// The status "-Dtest.jvm.status=<n>" asks JNI_CreateJavaVM to return.
std::optional<jint> requestedStatus(std::string_view option);

}  // namespace test_runtime
