#pragma once
// The steps that Init and Run call, one per subsystem. Each returns success
// or failure unless said otherwise; a step that fails has already shown its
// own message.
#include <cstdint>

#include "common/text.h"
#include "jre/version_number.h"

class LauncherApp;

// Settings: fills the settings fields of the application object.
bool loadLauncherSettings(LauncherApp& app);

// Paired product: starts the sibling launcher with this command line.
int32_t launchPairedProduct(LauncherApp& app);
// Whether the paired product started this process (and forgets it, so that
// the application's own child processes do not inherit it).
bool takeHandOverMark();


// Remembers the runtime the user picked in the JRE-not-found dialog.
void persistChosenRuntime(LauncherApp& app, const String& home);

// Starting Java.
// The environment changes cannot fail in a way the launch could act on.
void prepareVmEnvironment(LauncherApp& app);
bool loadVmLibrary(LauncherApp& app);
bool buildVmOptions(LauncherApp& app);
uint32_t defaultJavaStackSize(LauncherApp& app);
bool createJavaVm(LauncherApp& app);
bool invokeMainClass(LauncherApp& app);
