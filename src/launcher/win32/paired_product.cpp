// Hands the launch to the paired product: the sibling launcher for runtimes
// this process cannot load. It gets this process's command line unchanged.
#include "launcher/win32/paired_product.h"

#include "common/win32/unique_resource.h"
#include "common/win32/win_text.h"

namespace {

// Set in the environment the paired product inherits: a launcher that finds
// it never hands the launch over again.
const wchar_t kHandOverMark[] = L"QL_PAIRED_LAUNCH";

}  // namespace

bool takeHandOverMark() {
  if (GetEnvironmentVariableW(kHandOverMark, nullptr, 0) == 0) return false;
  // The application's own child processes must not inherit it.
  SetEnvironmentVariableW(kHandOverMark, nullptr);
  return true;
}

int32_t launchPairedProduct(const String& pairProduct, bool passExitCode) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  SetEnvironmentVariableW(kHandOverMark, L"1");
  BOOL started = CreateProcessW(wide(pairProduct), GetCommandLineW(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                &startup, &process);
  SetEnvironmentVariableW(kHandOverMark, nullptr);
  if (!started) {
    // Nothing could take the launch over: that is a failed launch, not a success.
    return -1;
  }
  UniqueHandle thread(process.hThread);
  UniqueHandle child(process.hProcess);
  DWORD exitCode = 0;
  if (passExitCode) {
    WaitForSingleObject(child.get(), INFINITE);
    GetExitCodeProcess(child.get(), &exitCode);
  }
  return static_cast<int32_t>(exitCode);
}
