#pragma once
// The per-user settings files that remember a runtime the user picked, and
// the paired product's own settings file.
#include "common/text.h"

class LauncherApp;

// The per-user settings file of the executable at `executablePath`, under
// "APPDATA" (read whole, whatever its length). With `createFolders` the
// product and product-code folders are created first (failures ignored).
String perUserSettingsPath(const LauncherApp& app, const String& executablePath, bool createFolders);

// Same for this launcher; empty when its own path cannot be had (reported).
String launcherPerUserSettingsPath(const LauncherApp& app, bool createFolders);

// Same for the paired product, folders created; empty without one.
String pairPerUserSettingsPath(const LauncherApp& app);

// The paired product's INI beside it; fails without a paired product or
// when its path has no ".".
bool pairSettingsFilePath(const LauncherApp& app, String& path);
