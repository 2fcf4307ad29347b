#pragma once
// Which JavaVMOption strings the stand-in accepts, judged as HotSpot judges
// them (the replay against the real JVMs keeps the two in step).
#include <jni.h>

#include <optional>
#include <string>
#include <string_view>

namespace test_runtime {

struct OptionVerdict {
  jint status = JNI_OK;  // JNI_ERR or JNI_EINVAL for a rejected option
  std::string message;   // what HotSpot prints on standard error then
  // A maximum heap HotSpot accepts while it reads the options but cannot
  // reserve later: it then says `message` and ends the process with 1.
  bool unreservableHeap = false;
};

OptionVerdict judgeOption(std::string_view option);

// The status "-Dtest.jvm.status=<n>" asks JNI_CreateJavaVM to return.
std::optional<jint> requestedStatus(std::string_view option);

}  // namespace test_runtime
