#pragma once
// The launch: Init decides what it does, Run carries that out. Each step
// takes what it reads and gives back what it decides; the values live here,
// and so do the launch's live resources, which the destructor tears down.
#include <windows.h>

#include <cstdint>

#include "common/text.h"
#include "jre/runtime_filter.h"
#include "jre/win32/runtime_selection.h"
#include "launcher/win32/single_instance.h"
#include "settings/launch_settings.h"
#include "settings/settings_path.h"
#include "splash/win32/launch_splash.h"
#include "vm/jni_entries.h"
#include "vm/win32/vm_steps.h"

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

 private:
  // Init's steps (loadSettings in settings_loader.cpp).
  bool loadSettings();
  bool setUpSingleInstance();
  void changeToExecutableFolder() const;
  bool selectRuntime();
  void traceChosenRuntime(const char* stage) const;
  // Whether the paired product may take a launch over: one is configured and
  // it did not hand this launch here.
  bool pairAllowed() const { return !settings_.pairProduct.empty() && !startedAsPairedProduct_; }

  // Run's steps: the Java thread's body (java_thread.cpp) and its parts.
  static DWORD WINAPI javaThreadProc(void* self);
  // 0 when main returned, kMainThrew when it threw and the run went on, 1
  // after a failure that was reported.
  static constexpr uint32_t kMainThrew = 2;
  uint32_t runJava();
  bool createJavaVm();
  bool invokeMainClass();

  // What Init decides.
  ExecutablePaths paths_;
  LaunchSettings settings_;
  // What the settings ask of a runtime: "JVM Type", "JVM Source", "VM
  // Provider", the bounds and "Preferred versions".
  RuntimeFilter runtimeFilter_;
  String jrePath_;
  StringList arguments_;
  bool startedAsPairedProduct_ = false;
  String jvmDllPath_;
  bool launchPairProduct_ = false;

  // What Run prepares.
  JvmEntries jvmEntries_;
  VmPlan vmPlan_;
  VmOptions vmOptions_;

  // The live resources; the destructor releases them in the order the launch
  // needs: the own splash window, VM, single instance, the runtime's splash.
  LaunchSplash splash_;
  SingleInstance singleInstance_;
  JavaVM* javaVm_ = nullptr;
  JNIEnv* javaEnv_ = nullptr;
  jclass mainClass_ = nullptr;  // a global reference once main is about to run
  bool mainThrew_ = false;       // and the run went on: the launch ends with 1, as the java command's
};
