// Publishes the chosen runtime to the process environment before anything of
// it is loaded: QL_JVM_PATH, QL_JVM_HOME, the runtime's bin folder on Path,
// and the native library path.
#include "common/win32/environment.h"
#include "common/win32/launch_trace.h"
#include "common/win32/win_text.h"
#include "vm/runtime_folders.h"
#include "vm/win32/vm_steps.h"

String prepareVmEnvironment(const String& jvmDllPath, const LaunchSettings& settings, const ExecutablePaths& paths) {
  SetEnvironmentVariableW(L"QL_JVM_PATH", wide(jvmDllPath));
  SetEnvironmentVariableW(L"QL_JVM_HOME", wide(runtimeHome(jvmDllPath)));

  String libraryPath;
  if (!settings.libraryPath.empty()) {
    libraryPath = expandEnvironment(extendedLibraryPath(settings.libraryPath, paths.folder, jvmDllPath));
  }
  const String path = expandEnvironment(vmProcessPath(settings.systemPath, jvmDllPath));
  SetEnvironmentVariableW(L"Path", wide(path));
  if (trace::enabled()) {
    trace::line(u"set QL_JVM_PATH=" + jvmDllPath);
    trace::line(u"set QL_JVM_HOME=" + runtimeHome(jvmDllPath));
    trace::line(u"set Path=" + path);
    if (!libraryPath.empty()) trace::line(u"option -Djava.library.path=" + libraryPath);
  }
  return libraryPath;
}
