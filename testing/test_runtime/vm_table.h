#pragma once
// The one JavaVM of the process and its invocation table.
#include <jni.h>

namespace test_runtime {

JavaVM* theVm();

}  // namespace test_runtime
