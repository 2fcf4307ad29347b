#include "launcher/win32/launcher_app.h"

#include "common/win32/console_flavour.h"
#include "common/win32/launch_trace.h"
#include "common/win32/string_table.h"
#include "jre/version_number.h"
#include "resources/resource_ids.h"
#include "common/path_components.h"
#include "common/win32/unique_resource.h"
#include "common/win32/win_text.h"
#include "jre/win32/jre_not_found_dialog.h"
#include "launcher/command_line.h"
#include "launcher/win32/error_report.h"
#include "launcher/win32/extra_arguments.h"
#include "launcher/win32/paired_product.h"
#include "settings/win32/per_user_settings.h"
#include "vm/java_session.h"

LauncherApp::~LauncherApp() {
  splash_.closeOwnWindow();
  // The single instance's shutdown hook ends its requests in there.
  if (javaVm_) javaVm_->DestroyJavaVM();
  javaVm_ = nullptr;
  singleInstance_.close();
  splash_.close();
}

bool LauncherApp::Init() {
  startedAsPairedProduct_ = takeHandOverMark();
  splitCommandLine(trimWhiteSpace(fromWide(GetCommandLineW())), arguments_);
  if (!arguments_.empty()) arguments_.erase(arguments_.begin());

  if (!loadSettings()) return false;
  if (!setUpSingleInstance()) return false;
  if (trace::enabled()) {
    trace::line(!singleInstance_.active()  ? "single instance: no"
                : singleInstance_.isFirst() ? "single instance: the first instance"
                                            : "single instance: a later launch, its arguments handed to the first instance");
  }
  if (singleInstance_.isSecondary()) return true;
  if (settings_.overrideWorkingDir) changeToExecutableFolder();
  return selectRuntime();
}

bool LauncherApp::setUpSingleInstance() {
  if (!settings_.singleInstanceRequested) return true;
  return singleInstance_.setUp(paths_.module, arguments_,
                               DeliveryTarget{&javaVm_, &mainClass_, runtimeFilter_.ibmAllowed()});
}

void LauncherApp::changeToExecutableFolder() const {
  // For an executable in a drive's root this leaves the bare drive ("C:"),
  // which names that drive's current directory.
  const String folder(parentFolder(paths_.module));
  if (!folder.empty()) SetCurrentDirectoryW(wide(folder));
}

bool LauncherApp::selectRuntime() {
  SelectedRuntime selected;
  // A trace lists every runtime each stage saw; the choice is the same.
  SelectionReport report;
  const SelectionRequest request{runtimeFilter_, jrePath_, paths_.folder, pairAllowed()};
  const bool found = selectInstalledRuntime(request, selected, trace::enabled() ? &report : nullptr);
  for (const SeenRuntime& seen : report) trace::line(describeSeenRuntime(seen));
  if (found) {
    jvmDllPath_ = selected.jvmDll;
    launchPairProduct_ = selected.handOver;
    traceChosenRuntime(stageName(selected.stage));
    return true;
  }
  if (isConsoleFlavour()) {
    trace::line("no stage found a runtime: said on standard error");
    ::report({IDS_JRE_NOT_FOUND_CONSOLE, 0,
              {describeVersionRequirement(runtimeFilter_.minVersion, runtimeFilter_.maxVersion, resourceString),
               paths_.settings, paths_.settings}});
    return false;
  }
  trace::line("no stage found a runtime: the JRE-not-found dialog");
  String home;
  if (!askUserForRuntime(runtimeFilter_, home, jvmDllPath_)) {
    trace::line("the dialog was cancelled");
    return false;
  }
  launchPairProduct_ = handOverNamedRuntime(request, jvmDllPath_);
  persistChosenRuntime(settings_, paths_, home);
  traceChosenRuntime("the JRE-not-found dialog");
  return true;
}

void LauncherApp::traceChosenRuntime(const char* stage) const {
  if (!trace::enabled()) return;
  trace::line("chosen by " + std::string(stage) + ": " + toUtf8(jvmDllPath_) +
              (launchPairProduct_ ? ", handed to the paired product " + toUtf8(settings_.pairProduct) : std::string()));
}

int32_t LauncherApp::Run() {
  if (launchPairProduct_) return launchPairedProduct(settings_.pairProduct, settings_.pairReturnCode);
  if (singleInstance_.isSecondary()) return singleInstance_.waitForAnswer();

  if (settings_.attachConsole && attachToParentConsole()) trace::line("attached to the console of the starting program");

  const String libraryPath = prepareVmEnvironment(jvmDllPath_, settings_, paths_);
  const bool noSplash = findArgument(arguments_, u"-nosplash") >= 0 || findArgument(arguments_, u"/nosplash") >= 0;
  if (!noSplash) {
    splash_.show({settings_.splashImage, settings_.splashShadowValue, settings_.preferNativeSplash}, jvmDllPath_);
  }
  appendExtraArguments(settings_.extraArguments, arguments_);
  Failure failure;
  if (!loadVmLibrary(jvmDllPath_, jvmEntries_, failure) ||
      !planLaunchVm(jvmDllPath_, settings_, paths_, arguments_, libraryPath, vmPlan_, failure) ||
      !encodeLaunchVmOptions(vmPlan_.options, vmOptions_, failure)) {
    report(failure);
    return -1;
  }
  uint32_t& stackSize = vmPlan_.javaThreadStackSize;
  if (stackSize == 0) stackSize = defaultStackSize(jvmEntries_.defaultInitArgs);
  if (trace::enabled()) trace::line("Java thread stack size " + std::to_string(stackSize) + " bytes");

  DWORD result = 0;
  UniqueHandle thread(
      CreateThread(nullptr, stackSize, javaThreadProc, this, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr));
  if (thread) {
    WaitForSingleObject(thread.get(), INFINITE);
    GetExitCodeThread(thread.get(), &result);
  } else {
    result = runJava();
  }
  if (result == 0) return 0;
  if (result == kMainThrew) return 1;
  splash_.close();
  return -1;
}
