#include "launcher/launcher_app.h"

#include "common/launch_trace.h"
#include "common/path_components.h"
#include "common/unique_resource.h"
#include "common/win_text.h"
#include "jre/jre_not_found_dialog.h"
#include "jre/machine_check.h"
#include "jre/runtime_search.h"
#include "launcher/command_line.h"
#include "launcher/extra_arguments.h"
#include "launcher/launch_steps.h"
#include "jre/machine_check.h"
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
  // The single instance's shutdown hook ends its requests in there.
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
  if (trace::enabled()) {
    trace::line(!instance.active()    ? "single instance: no"
                : instance.isFirst() ? "single instance: the first instance"
                                      : "single instance: a later launch, its arguments handed to the first instance");
  }
  if (instance.isSecondary()) return true;
  if (overrideWorkingDir) changeToExecutableFolder();
  return selectRuntime();
}

bool LauncherApp::setUpSingleInstance() {
  if (!singleInstanceRequested) return true;
  return instance.setUp(arguments, DeliveryTarget{&javaVm, mainClass, runtime.ibmAllowed()});
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
  SelectedRuntime selected;
  // A trace lists every runtime each stage saw; the choice is the same.
  SelectionReport report;
  const bool found = selectInstalledRuntime(selectionRequest(), selected, trace::enabled() ? &report : nullptr);
  for (const SeenRuntime& seen : report) trace::line(describeSeenRuntime(seen));
  if (found) {
    jvmDllPath = selected.jvmDll;
    chosenVersion = selected.version;
    launchPairProduct = selected.handOver;
    traceChosenRuntime(stageName(selected.stage));
    return true;
  }
  trace::line("no stage found a runtime: the JRE-not-found dialog");
  String home;
  if (!askUserForRuntime(runtime, home, jvmDllPath)) {
    trace::line("the dialog was cancelled");
    return false;
  }
  launchPairProduct = pairAllowed() && builtForPairedMachine(jvmDllPath);
  persistChosenRuntime(*this, home);
  traceChosenRuntime("the JRE-not-found dialog");
  return true;
}

void LauncherApp::traceChosenRuntime(const char* stage) const {
  if (!trace::enabled()) return;
  trace::line("chosen by " + std::string(stage) + ": " + toUtf8(jvmDllPath) +
              (launchPairProduct ? ", handed to the paired product " + toUtf8(pairProduct) : std::string()));
}

SelectionRequest LauncherApp::selectionRequest() const {
  SelectionRequest request{runtime, jrePath, {}, pairAllowed()};
  executableFolder(request.executableFolder);
  return request;
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
  if (trace::enabled()) trace::line("Java thread stack size " + std::to_string(javaThreadStackSize) + " bytes");

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
  if (app.instance.isFirst() && app.instance.active()) {
    trace::line(app.instance.stopWhenVmShutsDown(app.javaEnv)
                    ? "single instance: requests end as the VM shuts down"
                    : "single instance: the runtime takes no shutdown hook; requests end after the VM");
  }
  if (!invokeMainClass(app)) return 1;
  if (app.serviceMode && app.javaVm) {
    app.javaVm->DestroyJavaVM();
    app.javaVm = nullptr;
  }
  return 0;
}
