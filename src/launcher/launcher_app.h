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
#include "jre/runtime_search.h"
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
  JvmType jvmType = JvmType::Default;
  String jvmDllPath;
  JavaVM* javaVm = nullptr;
  JNIEnv* javaEnv = nullptr;
  String mainClass;
  VersionNumber chosenVersion;
  VersionNumber minVersion;
  VersionNumber maxVersion;
  StringList arguments;
  SplashScreen splashWindow;
  bool serviceMode = false;
  bool allowJdk = false;
  bool allowJre = false;
  bool jvmSourceFavor = true;
  bool allowJRockit = false;
  bool allowSun = true;
  bool allowIbm = false;
  bool favorJRockit = false;
  bool favorSun = true;
  bool favorIbm = false;
  String productName;
  String productCode;
  String upgradeCode;
  std::vector<std::string> vmOptions;
  StringList preferredVersions;
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
  NativeSplashCloser nativeSplashCloser;
  bool launchPairProduct = false;
  bool startedAsPairedProduct = false;
  CreateJavaVmEntry createJavaVmEntry = nullptr;
  DefaultInitArgsEntry defaultInitArgsEntry = nullptr;
  FindClassFromBootLoaderEntry findClassFromBootLoaderEntry = nullptr;

  // The registry stage of the runtime selection: the own view, then the
  // paired product's view (which hands the launch over).
  bool selectSearchedRuntime();
  // What the settings ask of an installed runtime.
  RuntimeFilter runtimeFilter() const;
  ProductIdentity product() const { return {productName, productCode}; }

 private:
  bool setUpSingleInstance();
  void changeToExecutableFolder();
  bool selectRuntime();
  bool selectConfiguredRuntime();
  bool selectRuntimeBesideExecutable();
  // Reads the splash settings and shows the splash; false when the settings
  // file's name cannot be formed.
  bool startSplash();
  // Sets launchPairProduct when jvmDllPath is for the paired product's machine.
  void decidePairedProductHandOver();
};

// Body of the Java thread: creates the VM and runs the main class.
// Returns 0 when the main method ran, 1 otherwise.
uint32_t runJava(LauncherApp& app);
