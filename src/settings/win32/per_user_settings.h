#pragma once
// The per-user settings files that remember a runtime the user picked, and
// the paired product's own settings file.
#include "common/text.h"
#include "settings/launch_settings.h"
#include "settings/settings_path.h"

class SettingsSource;

// The per-user settings file of the executable at `executablePath`, under
// "APPDATA" (read whole, whatever its length). With `createFolders` the
// product and product-code folders are created first (failures ignored).
String perUserSettingsPath(const ProductIdentity& product, const String& executablePath, bool createFolders);

// "JRE Path" as a launch of the executable at `executablePath` reads it: the
// remembered choice of its per-user file wins, even an empty one, while that
// file exists; a service has none and reads `settings`.
String configuredJrePath(SettingsSource& settings, const ProductIdentity& product, const String& executablePath,
                         bool service);

// The paired product's INI beside it (a bare or relative name lies in
// `executableFolder`, this executable's); fails without a paired product or
// when its path has no ".".
bool pairSettingsFilePath(const String& pairProduct, const String& executableFolder, String& path);

// Remembers the runtime the user picked ("JRE Path" = `home`, never an empty
// one): in the per-user files of this executable and of the paired product,
// or for a service in the settings files of both.
void persistChosenRuntime(const LaunchSettings& settings, const ExecutablePaths& paths, const String& home);
