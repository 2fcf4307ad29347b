// Loads the chosen jvm.dll and looks up its entry points. The library stays
// loaded for the life of the process.
#include "common/path_components.h"
#include "common/win32/string_table.h"
#include "common/win32/system_library.h"
#include "common/win32/win_text.h"
#include "resources/resource_ids.h"
#include "vm/runtime_folders.h"
#include "vm/win32/vm_steps.h"

namespace {

// While it lives, the DLL search looks in the runtime's bin folder instead of
// the current directory, which may be any folder a document was opened from.
// SetDllDirectoryW(L"") would do that on Windows but not under Wine. The
// launcher sets no other DLL folder: the default order comes back afterwards.
class RuntimeDllSearch {
 public:
  explicit RuntimeDllSearch(const String& binFolder) { SetDllDirectoryW(wide(binFolder)); }
  ~RuntimeDllSearch() { SetDllDirectoryW(nullptr); }
  RuntimeDllSearch(const RuntimeDllSearch&) = delete;
  RuntimeDllSearch& operator=(const RuntimeDllSearch&) = delete;
};

// The C runtime libraries a runtime may ship in its bin folder, those that
// others depend on first. Each one there is loaded by its full path before
// jvm.dll, as the JDK's own launcher does, so that jvm.dll's imports find
// these rather than copies elsewhere. They stay loaded, as jvm.dll does.
constexpr const char16_t* kRuntimeCLibraries[] = {u"vcruntime140.dll", u"vcruntime140_1.dll", u"msvcp140.dll",
                                                  u"msvcr120.dll",     u"msvcr100.dll",       u"msvcr71.dll"};

void loadRuntimeCLibraries(const String& binFolder) {
  for (const char16_t* name : kRuntimeCLibraries) {
    const String path = withTrailingBackslash(binFolder) + name;
    // Only those there: one the runtime does not ship is looked for nowhere else.
    if (GetFileAttributesW(wide(path)) == INVALID_FILE_ATTRIBUTES) continue;
    LoadLibraryExW(wide(path), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  }
}

// jvm.dll and its dependencies; null with `error` set when it fails. Path,
// which ends with the runtime's bin folder by now, stays as it is: the
// application's own libraries may be found through it.
HMODULE loadJvmLibrary(const String& jvmDllPath, DWORD& error) {
  const String binFolder = runtimeBinFolder(jvmDllPath);
  const RuntimeDllSearch search(binFolder);
  loadRuntimeCLibraries(binFolder);
  HMODULE library = LoadLibraryW(wide(jvmDllPath));
  error = GetLastError();
  return library;
}

}  // namespace

bool loadVmLibrary(const String& jvmDllPath, JvmEntries& entries, Failure& failure) {
  // The VM finds its home and its own libraries from this path with buffers
  // of MAX_PATH characters: from a deeper folder it cannot start.
  if (jvmDllPath.size() >= MAX_PATH) {
    failure = {IDS_RUNTIME_TOO_DEEP, 0, {jvmDllPath, decimalInsert(static_cast<int32_t>(jvmDllPath.size()))}};
    return false;
  }
  DWORD error = 0;
  HMODULE library = loadJvmLibrary(jvmDllPath, error);
  if (!library) {
    failure = {IDS_VM_LIBRARY_LOAD_FAILED, 0, {jvmDllPath, decimalInsert(static_cast<int32_t>(error))}};
    return false;
  }
  entries.createJavaVm = procedureOf<CreateJavaVmEntry>(library, "JNI_CreateJavaVM");
  if (entries.createJavaVm) {
    entries.defaultInitArgs = procedureOf<DefaultInitArgsEntry>(library, "JNI_GetDefaultJavaVMInitArgs");
  }
  if (!entries.createJavaVm || !entries.defaultInitArgs) {
    failure = windowsFailure(IDS_NO_CREATE_JAVA_VM, GetLastError());
    return false;
  }
  entries.findClassFromBootLoader = procedureOf<FindClassFromBootLoaderEntry>(library, "JVM_FindClassFromBootLoader");
  return true;
}
