// Hands the launch to the paired product: the sibling launcher for runtimes
// this process cannot load. It gets this process's command line unchanged.
#include "common/win_text.h"
#include "launcher/launch_steps.h"
#include "launcher/launcher_app.h"

int32_t launchPairedProduct(LauncherApp& app) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(wide(app.pairProduct), GetCommandLineW(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    // Nothing could take the launch over: that is a failed launch, not a success.
    return -1;
  }
  CloseHandle(process.hThread);
  DWORD exitCode = 0;
  if (app.pairReturnCode) {
    WaitForSingleObject(process.hProcess, INFINITE);
    GetExitCodeProcess(process.hProcess, &exitCode);
  }
  CloseHandle(process.hProcess);
  return static_cast<int32_t>(exitCode);
}
