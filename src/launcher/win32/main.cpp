// Entry point of the launcher executable, of both flavours (for the console
// subsystem the C runtime reaches wWinMain through its own wmain).
#include <windows.h>

#include <string>

#include "common/win32/console_flavour.h"
#include "common/win32/launch_trace.h"
#include "launcher/win32/launcher_app.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  detectConsoleFlavour();
  int32_t result = -1;
  {
    LauncherApp app;
    SetThreadLocale(GetSystemDefaultLCID());
    if (app.Init()) result = app.Run();
  }
  if (trace::enabled()) trace::line("exit code " + std::to_string(result));
  return result;
}
