#pragma once
// The per-user settings files that remember a runtime the user picked, and
// the paired product's own settings file.
#include "common/text.h"

class SettingsSource;

// "Product Name" and "Product Code": the folders of the per-user files.
struct ProductIdentity {
  String name;
  String code;
};

// The per-user settings file of the executable at `executablePath`, under
// "APPDATA" (read whole, whatever its length). With `createFolders` the
// product and product-code folders are created first (failures ignored).
String perUserSettingsPath(const ProductIdentity& product, const String& executablePath, bool createFolders);

// Same for this launcher; empty when its own path cannot be had (reported).
String launcherPerUserSettingsPath(const ProductIdentity& product, bool createFolders);

// "JRE Path" as a launch of the executable at `executablePath` reads it: the
// remembered choice of its per-user file wins, even an empty one, while that
// file exists; a service has none and reads `settings`.
String configuredJrePath(SettingsSource& settings, const ProductIdentity& product, const String& executablePath,
                         bool service);

// The paired product's INI beside it (a bare or relative name beside this
// executable); fails without a paired product or when its path has no ".".
bool pairSettingsFilePath(const String& pairProduct, String& path);
