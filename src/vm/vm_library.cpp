// Loads the chosen jvm.dll and looks up its entry points. The library stays
// loaded for the life of the process.
#include "common/string_table.h"
#include "common/system_library.h"
#include "common/win_text.h"
#include "launcher/error_report.h"
#include "launcher/launch_steps.h"
#include "launcher/launcher_app.h"
#include "resources/resource_ids.h"

namespace {

void reportMissingEntry() {
  DWORD error = GetLastError();
  showWindowsError(IDS_NO_CREATE_JAVA_VM, error);
}

}  // namespace

bool loadVmLibrary(LauncherApp& app) {
  // The runtime's own dependencies resolve through Path, which ends with its
  // bin folder by now.
  HMODULE library = LoadLibraryW(wide(app.jvmDllPath));
  if (!library) {
    DWORD error = GetLastError();
    formatError(nullptr, resourceString(IDS_VM_LIBRARY_LOAD_FAILED), {app.jvmDllPath, static_cast<int32_t>(error)});
    return false;
  }
  app.createJavaVmEntry = procedureOf<CreateJavaVmEntry>(library, "JNI_CreateJavaVM");
  if (!app.createJavaVmEntry) {
    reportMissingEntry();
    return false;
  }
  app.defaultInitArgsEntry = procedureOf<DefaultInitArgsEntry>(library, "JNI_GetDefaultJavaVMInitArgs");
  if (!app.defaultInitArgsEntry) {
    reportMissingEntry();
    return false;
  }
  app.findClassFromBootLoaderEntry = procedureOf<FindClassFromBootLoaderEntry>(library, "JVM_FindClassFromBootLoader");
  return true;
}
