// Entry point of the launcher executable.
#include <windows.h>

#include <string>

#include "common/win32/launch_trace.h"
#include "launcher/win32/launcher_app.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int32_t result = -1;
  {
    LauncherApp app;
    SetThreadLocale(GetSystemDefaultLCID());
    if (app.Init()) result = app.Run();
  }
  if (trace::enabled()) trace::line("exit code " + std::to_string(result));
  return result;
}

// The console flavour's entry (linked for the console subsystem, the C
// runtime calls wmain): the same launch.
int wmain() { return wWinMain(GetModuleHandleW(nullptr), nullptr, GetCommandLineW(), SW_SHOWDEFAULT); }
