#pragma once
// The splash of a launch: the runtime's own splash library when it is
// preferred and usable, otherwise the launcher's own splash window.
#include "common/text.h"
#include "splash/native_splash_closer.h"
#include "splash/win32/splash_thread.h"

struct SplashSettings {
  String image;               // "Splash Screen"; empty: no splash
  String shadowValue;         // "Splash Screen Shadow" as written
  bool preferNative = false;  // "Preffer Native Splash Screen"
};

class LaunchSplash {
 public:
  // Shows the image with the splash library beside the runtime's jvm.dll, or
  // else in the launcher's own window.
  void show(const SplashSettings& splash, const String& jvmDllPath);

  // Closes the launcher's own window. The runtime's splash belongs to the
  // Java side while the VM lives: its first window closes it.
  void closeOwnWindow() { window_.close(); }

  // Closes whichever splash shows, each once, from any thread.
  void close() {
    window_.close();
    native_.fire();
  }

 private:
  SplashThread window_;
  NativeSplashCloser native_;
};
