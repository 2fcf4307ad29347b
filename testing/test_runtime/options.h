#pragma once
// Which JavaVMOption strings the stand-in accepts, judged as HotSpot judges
// them (the replay against the real JVMs keeps the two in step).
#include <jni.h>

#include <optional>
#include <string>
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

// `javaVersion`: the version the runtime plays (0: unknown, judged as 17).
OptionVerdict judgeOption(std::string_view option, int javaVersion);

// The feature version of a release file's JAVA_VERSION ("21.0.5" gives 21,
// "1.8.0_392" gives 8), 0 without one.
int releaseJavaVersion(std::string_view releaseText);

// The status "-Dtest.jvm.status=<n>" asks JNI_CreateJavaVM to return.
std::optional<jint> requestedStatus(std::string_view option);

}  // namespace test_runtime
