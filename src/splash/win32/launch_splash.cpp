#include "splash/win32/launch_splash.h"

#include "common/win32/ansi_text.h"
#include "common/win32/file_system.h"
#include "common/path_components.h"
#include "common/win32/system_library.h"
#include "common/win32/win_text.h"
#include "settings/setting_names.h"
#include "vm/runtime_folders.h"

namespace {

using SplashInit = void (*)();
using SplashLoadFile = void (*)(const char*);
using SplashSetFileJarName = void (*)(const char*, const char*);

// splashscreen.dll in the runtime's bin folder, or empty when there is none.
String nativeSplashLibrary(const String& jvmDllPath) {
  String path = withTrailingBackslash(runtimeBinFolder(jvmDllPath)) + u"splashscreen.dll";
  FileFinder finder;
  return finder.findFirst(&path) ? path : String();
}

// Looked up rather than imported: older systems without it must still start
// the launcher (the native splash then falls back to the launcher's window).
void addDllFolder(const String& path) {
  using AddDllDirectoryEntry = DLL_DIRECTORY_COOKIE(WINAPI*)(PCWSTR);
  static const auto add = procedureOf<AddDllDirectoryEntry>(GetModuleHandleW(L"kernel32.dll"), "AddDllDirectory");
  const String folder(parentFolder(path));
  if (add && !folder.empty()) add(wide(folder));
}

// The runtime's splash library showing `image`; false when it cannot.
bool showNativeSplash(const String& library, const String& jvmDllPath, const String& image,
                      NativeSplashCloser& closer) {
  addDllFolder(library);
  addDllFolder(jvmDllPath);
  HMODULE module = LoadLibraryExW(wide(library), nullptr, LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
  if (!module) return false;
  auto init = procedureOf<SplashInit>(module, "SplashInit");
  auto loadFile = procedureOf<SplashLoadFile>(module, "SplashLoadFile");
  auto setJarName = procedureOf<SplashSetFileJarName>(module, "SplashSetFileJarName");
  closer.arm(procedureOf<NativeSplashCloser::CloseFunction>(module, "SplashClose"));
  // The library opens the file by its ANSI name: a path the page cannot
  // spell goes by its short form, or the launcher's own window shows it.
  std::optional<std::string> exactImage = toAnsiExactly(image);
  if (!exactImage) exactImage = toAnsiExactly(shortPathName(image));
  if (!init || !loadFile || !setJarName || !exactImage || exactImage->empty()) return false;
  const std::string& narrowImage = *exactImage;
  init();
  loadFile(narrowImage.c_str());
  setJarName(narrowImage.c_str(), "");
  return true;
}

}  // namespace

void LaunchSplash::show(const SplashSettings& splash, const String& jvmDllPath) {
  if (splash.image.empty()) return;
  String library = nativeSplashLibrary(jvmDllPath);
  if (splash.preferNative && !library.empty() && showNativeSplash(library, jvmDllPath, splash.image, native_)) return;
  // Only this exact spelling asks for the shadow.
  window_.show(splash.image, splash.shadowValue == setting::kTrueExactly);
}
