#pragma once
// The one application object of a launch: every piece of state, filled by the
// steps of Init and Run and released by the destructor.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/text.h"
#include "common/unique_resource.h"
#include "jre/runtime_choice.h"
#include "jre/runtime_filter.h"
#include "jre/runtime_selection.h"
#include "jre/version_number.h"
#include "launcher/single_instance.h"
#include "settings/per_user_settings.h"
#include "splash/native_splash_closer.h"
#include "splash/splash_screen.h"
#include "vm/jni_entries.h"

class LauncherApp {
 public:
  LauncherApp() = default;
  ~LauncherApp();
  LauncherApp(const LauncherApp&) = delete;
  LauncherApp& operator=(const LauncherApp&) = delete;

  // Decides what the launch does; true means Run is to be called.
  bool Init();
  // Carries the decision out and returns the process exit code.
  int32_t Run();

  String splashImage;
  String splashShadowValue;
  String jvmDllPath;
  JavaVM* javaVm = nullptr;
  JNIEnv* javaEnv = nullptr;
  String mainClass;
  VersionNumber chosenVersion;
  StringList arguments;
  SplashScreen splashWindow;
  bool serviceMode = false;
  // What the settings ask of a runtime: "JVM Type", "JVM Source", "VM
  // Provider", the bounds and "Preferred versions".
  RuntimeFilter runtime;
  String productName;
  String productCode;
  String upgradeCode;
  std::vector<std::string> vmOptions;
  String jrePath;
  String libraryPath;
  // "Single Instance" asks for it (never in service mode).
  bool singleInstanceRequested = false;
  SingleInstance instance;
  String stdoutFile;
  String stderrFile;
  bool stdoutAppend = false;
  bool stderrAppend = false;
  String systemPath;
  String extraArguments;
  String pairProduct;
  bool pairReturnCode = false;
  bool failureCheck = false;
  bool overrideWorkingDir = false;
  uint32_t javaThreadStackSize = 0;
  // "Class Data Sharing=auto": an archive per user and runtime.
  bool classDataSharing = false;
  NativeSplashCloser nativeSplashCloser;
  bool launchPairProduct = false;
  bool startedAsPairedProduct = false;
  CreateJavaVmEntry createJavaVmEntry = nullptr;
  DefaultInitArgsEntry defaultInitArgsEntry = nullptr;
  FindClassFromBootLoaderEntry findClassFromBootLoaderEntry = nullptr;

  ProductIdentity product() const { return {productName, productCode}; }
  // What the runtime selection stages start from.
  SelectionRequest selectionRequest() const;

 private:
  bool setUpSingleInstance();
  void changeToExecutableFolder();
  bool selectRuntime();
  void traceChosenRuntime(const char* stage) const;
  // Reads the splash settings and shows the splash; false when the settings
  // file's name cannot be formed.
  bool startSplash();
  // Whether the paired product may take a launch over: one is configured and
  // it did not hand this launch here.
  bool pairAllowed() const { return !pairProduct.empty() && !startedAsPairedProduct; }
};

// Body of the Java thread: creates the VM and runs the main class.
// Returns 0 when the main method ran, 1 otherwise.
uint32_t runJava(LauncherApp& app);
