#pragma once
#include "common/text.h"

// The executable's full path. The buffer grows until the whole path fits, so
// long paths are never cut. On failure the error box "Windows exception:
// failed to get the module path" is shown and false returned.
bool modulePath(String& path);

// The executable's folder, ending in a backslash. Fails only when the module
// path fails.
bool executableFolder(String& folder);

// The launcher settings file beside the executable (Shop.exe -> Shop.ini).
// Fails when the module path fails or holds no ".".
bool settingsFilePath(String& path);
