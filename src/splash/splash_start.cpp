// The splash step of a launch: the runtime's own splash library when it is
// preferred and usable, otherwise the launcher's own splash window.
#include "common/ansi_text.h"
#include "common/file_system.h"
#include "common/path_components.h"
#include "common/system_library.h"
#include "common/win_text.h"
#include "launcher/launch_steps.h"
#include "launcher/launcher_app.h"
#include "launcher/module_path.h"
#include "settings/ini_settings_file.h"
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
  size_t slash = path.rfind(u'\\');
  if (add && slash != String::npos) add(wide(path.substr(0, slash)));
}

}  // namespace

bool showNativeSplash(LauncherApp& app, const String& library, const String& image) {
  addDllFolder(library);
  addDllFolder(app.jvmDllPath);
  HMODULE module = LoadLibraryExW(wide(library), nullptr, LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
  if (!module) return false;
  auto init = procedureOf<SplashInit>(module, "SplashInit");
  auto loadFile = procedureOf<SplashLoadFile>(module, "SplashLoadFile");
  auto setJarName = procedureOf<SplashSetFileJarName>(module, "SplashSetFileJarName");
  app.nativeSplashCloser.arm(procedureOf<NativeSplashCloser::CloseFunction>(module, "SplashClose"));
  if (!init || !loadFile || !setJarName) return false;
  std::string narrowImage = toThreadAnsi(image);
  init();
  loadFile(narrowImage.c_str());
  setJarName(narrowImage.c_str(), "");
  return true;
}

bool showSplash(LauncherApp& app) {
  String path;
  if (!settingsFilePath(path)) return false;
  IniSettingsFile settings(path);
  app.splashImage = settings.value(setting::kSplashScreen);
  app.splashShadowValue = settings.value(setting::kSplashScreenShadow);
  String preferNative = settings.value(setting::kPreferNativeSplash);
  if (app.splashImage.empty()) return true;

  String library = nativeSplashLibrary(app.jvmDllPath);
  const bool native = equalsIgnoreCase(preferNative, setting::kYes) && !library.empty();
  if (native && showNativeSplash(app, library, app.splashImage)) {
    return true;
  }
  // Only this exact spelling asks for the shadow.
  app.splashWindow.show(app.splashImage, app.splashShadowValue == setting::kTrueExactly);
  return true;
}
