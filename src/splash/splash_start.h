#pragma once
// The splash of a launch: the runtime's own splash library when it is
// preferred and usable, otherwise the launcher's own splash window.
#include "common/text.h"
#include "splash/native_splash_closer.h"
#include "splash/splash_screen.h"

struct SplashSettings {
  String image;               // "Splash Screen"; empty: no splash
  String shadowValue;         // "Splash Screen Shadow" as written
  bool preferNative = false;  // "Preffer Native Splash Screen"
};

// Shows the image with the splash library beside the runtime's jvm.dll (and
// arms `closer` with its close function), or else in `window`.
void showSplash(const SplashSettings& splash, const String& jvmDllPath, NativeSplashCloser& closer,
                SplashScreen& window);
