// Publishes the chosen runtime to the process environment before anything of
// it is loaded: QL_JVM_PATH, QL_JVM_HOME, the runtime's bin folder on Path,
// and the native library path option when one is configured.
#include "common/ansi_text.h"
#include "common/environment.h"
#include "common/launch_trace.h"
#include "common/win_text.h"
#include "launcher/launch_steps.h"
#include "launcher/launcher_app.h"
#include "launcher/module_path.h"
#include "vm/runtime_folders.h"

void prepareVmEnvironment(LauncherApp& app) {
  SetEnvironmentVariableW(L"QL_JVM_PATH", wide(app.jvmDllPath));
  SetEnvironmentVariableW(L"QL_JVM_HOME", wide(runtimeHome(app.jvmDllPath)));

  if (!app.libraryPath.empty()) {
    String launcherFolder;
    executableFolder(launcherFolder);
    app.libraryPath = expandEnvironment(extendedLibraryPath(app.libraryPath, launcherFolder, app.jvmDllPath));
    app.vmOptions.push_back(toThreadAnsi(u"-Djava.library.path=" + app.libraryPath));
  }
  const String path = expandEnvironment(vmProcessPath(app.systemPath, app.jvmDllPath));
  SetEnvironmentVariableW(L"Path", wide(path));
  if (trace::enabled()) {
    trace::line(u"set QL_JVM_PATH=" + app.jvmDllPath);
    trace::line(u"set QL_JVM_HOME=" + runtimeHome(app.jvmDllPath));
    trace::line(u"set Path=" + path);
    if (!app.libraryPath.empty()) trace::line(u"option -Djava.library.path=" + app.libraryPath);
  }
}
