// Publishes the chosen runtime to the process environment before anything of
// it is loaded: QL_JVM_PATH, QL_JVM_HOME, the runtime's bin folder on Path,
// and the native library path option when one is configured.
#include "common/ansi_text.h"
#include "common/environment.h"
#include "common/launch_trace.h"
#include "common/win_text.h"
#include "vm/runtime_folders.h"
#include "vm/vm_steps.h"

void prepareVmEnvironment(const String& jvmDllPath, const LaunchSettings& settings, const ExecutablePaths& paths,
                          VmOptions& options) {
  SetEnvironmentVariableW(L"QL_JVM_PATH", wide(jvmDllPath));
  SetEnvironmentVariableW(L"QL_JVM_HOME", wide(runtimeHome(jvmDllPath)));

  String libraryPath;
  if (!settings.libraryPath.empty()) {
    libraryPath = expandEnvironment(extendedLibraryPath(settings.libraryPath, paths.folder, jvmDllPath));
    options.push_back(toThreadAnsi(u"-Djava.library.path=" + libraryPath));
  }
  const String path = expandEnvironment(vmProcessPath(settings.systemPath, jvmDllPath));
  SetEnvironmentVariableW(L"Path", wide(path));
  if (trace::enabled()) {
    trace::line(u"set QL_JVM_PATH=" + jvmDllPath);
    trace::line(u"set QL_JVM_HOME=" + runtimeHome(jvmDllPath));
    trace::line(u"set Path=" + path);
    if (!libraryPath.empty()) trace::line(u"option -Djava.library.path=" + libraryPath);
  }
}
