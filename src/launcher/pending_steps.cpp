// Steps whose subsystems are not built yet. Each answers "nothing found" or
// fails, so that every launch still ends with a defined exit code.
#include "launcher/launch_steps.h"
#include "launcher/launcher_app.h"


// The launcher's own splash window: until it is built, no window shows.
void startSplashWindow(LauncherApp&) {}
void closeSplashWindow(LauncherApp&) {}
