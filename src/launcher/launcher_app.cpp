#include "launcher/launcher_app.h"

#include "common/path_components.h"
#include "common/unique_resource.h"
#include "common/win_text.h"
#include "jre/jre_not_found_dialog.h"
#include "jre/runtime_search.h"
#include "launcher/command_line.h"
#include "launcher/extra_arguments.h"
#include "launcher/launch_steps.h"
#include "launcher/machine_check.h"
#include "launcher/module_path.h"
#include "settings/ini_settings_file.h"
#include "splash/splash_start.h"

namespace {

DWORD WINAPI javaThreadProc(void* parameter) {
  return runJava(*static_cast<LauncherApp*>(parameter));
}

}  // namespace

LauncherApp::~LauncherApp() {
  splashWindow.close();
  if (javaVm) javaVm->DestroyJavaVM();
  javaVm = nullptr;
  instance.close();
  nativeSplashCloser.fire();
}

bool LauncherApp::Init() {
  startedAsPairedProduct = takeHandOverMark();
  splitCommandLine(trimWhiteSpace(fromWide(GetCommandLineW())), arguments);
  if (!arguments.empty()) arguments.erase(arguments.begin());

  if (!loadLauncherSettings(*this)) return false;
  if (!setUpSingleInstance()) return false;
  if (instance.isSecondary()) return true;
  if (overrideWorkingDir) changeToExecutableFolder();
  return selectRuntime();
}

bool LauncherApp::setUpSingleInstance() {
  if (!singleInstanceRequested) return true;
  return instance.setUp(arguments, DeliveryTarget{&javaVm, mainClass, allowIbm || favorIbm});
}

void LauncherApp::changeToExecutableFolder() {
  String path;
  if (!modulePath(path)) return;
  // For an executable in a drive's root this leaves the bare drive ("C:"),
  // which names that drive's current directory.
  const String folder(parentFolder(path));
  if (!folder.empty()) SetCurrentDirectoryW(wide(folder));
}

bool LauncherApp::selectRuntime() {
  if (selectConfiguredRuntime()) return true;
  if (selectRuntimeBesideExecutable()) return true;
  if (selectSearchedRuntime()) return true;

  String home;
  if (!askUserForRuntime(runtimeFilter(), home, jvmDllPath)) return false;
  decidePairedProductHandOver();
  persistChosenRuntime(*this, home);
  return true;
}

bool LauncherApp::selectConfiguredRuntime() {
  if (jrePath.empty()) return false;
  jvmDllPath = findJvmLibrary(withTrailingBackslash(jrePath), jvmType);
  if (jvmDllPath.empty()) return false;
  decidePairedProductHandOver();
  return true;
}

bool LauncherApp::selectRuntimeBesideExecutable() {
  String folder;
  if (!executableFolder(folder)) return false;
  String home;
  if (hasJavaLibrary(folder)) {
    home = folder;
  } else if (hasJavaLibrary(folder + u"jre\\")) {
    home = folder + u"jre\\";
  }
  // Without a runtime beside the executable there is nothing to look up: an
  // empty home would make the lookup search the current directory.
  if (home.empty()) return false;
  // A runtime shipped with the application is used as it is: no machine check.
  jvmDllPath = findJvmLibrary(home, jvmType);
  return !jvmDllPath.empty();
}

RuntimeFilter LauncherApp::runtimeFilter() const {
  return RuntimeFilter{jvmSourceFavor, allowJdk,     allowJre, allowSun,   favorSun,   allowJRockit,     favorJRockit,
                       allowIbm,       favorIbm,     jvmType,  minVersion, maxVersion, preferredVersions};
}

bool LauncherApp::selectSearchedRuntime() {
  const RuntimeFilter filter = runtimeFilter();
  FoundRuntime found;
  if (!searchInstalledRuntimes(filter, false, found)) {
    // The paired product's view, only when the launch can go there: a
    // runtime found only there hands the launch over.
    if (pairProduct.empty() || startedAsPairedProduct || !searchInstalledRuntimes(filter, true, found)) return false;
    launchPairProduct = true;
  }
  chosenVersion = found.version;
  jvmDllPath = findJvmLibrary(found.home, jvmType);
  return !jvmDllPath.empty();
}

bool LauncherApp::startSplash() {
  String path;
  if (!settingsFilePath(path)) return false;
  IniSettingsFile settings(path);
  splashImage = settings.value(setting::kSplashScreen);
  splashShadowValue = settings.value(setting::kSplashScreenShadow);
  const bool preferNative = equalsIgnoreCase(settings.value(setting::kPreferNativeSplash), setting::kYes);
  showSplash({splashImage, splashShadowValue, preferNative}, jvmDllPath, nativeSplashCloser, splashWindow);
  return true;
}

void LauncherApp::decidePairedProductHandOver() {
  launchPairProduct = false;
  // A launch the paired product handed over stays here, whatever it finds:
  // handing it back would relay it for ever.
  if (pairProduct.empty() || startedAsPairedProduct) return;
  launchPairProduct = builtForPairedMachine(jvmDllPath);
}

int32_t LauncherApp::Run() {
  if (launchPairProduct) return launchPairedProduct(*this);
  if (instance.isSecondary()) return instance.waitForAnswer();

  prepareVmEnvironment(*this);
  bool noSplash = findArgument(arguments, u"-nosplash") >= 0 || findArgument(arguments, u"/nosplash") >= 0;
  // startSplash fails only when the settings file's name cannot be formed,
  // which Init has already met and reported; the launch then ends quietly.
  if (!noSplash && !startSplash()) return 0;
  if (!loadVmLibrary(*this)) return -1;
  if (!buildVmOptions(*this)) return -1;
  appendExtraArguments(extraArguments, arguments);
  if (javaThreadStackSize == 0) javaThreadStackSize = defaultJavaStackSize(*this);

  DWORD result = 0;
  UniqueHandle thread(
      CreateThread(nullptr, javaThreadStackSize, javaThreadProc, this, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr));
  if (thread) {
    WaitForSingleObject(thread.get(), INFINITE);
    GetExitCodeThread(thread.get(), &result);
  } else {
    result = runJava(*this);
  }
  if (result == 0) return 0;
  nativeSplashCloser.fire();
  return -1;
}

uint32_t runJava(LauncherApp& app) {
  if (!createJavaVm(app)) return 1;
  if (!invokeMainClass(app)) return 1;
  if (app.serviceMode && app.javaVm) {
    app.javaVm->DestroyJavaVM();
    app.javaVm = nullptr;
  }
  return 0;
}
