#pragma once
#include "common/text.h"

// The settings file that belongs to an executable: its path up to and
// including the last ".", followed by "ini" (C:\Apps\Shop.exe gives
// C:\Apps\Shop.ini). Fails when the path holds no ".".
bool settingsPathForModule(StringView modulePath, String& settingsPath);

// The executable a settings file belongs to, the other way round
// (C:\Apps\Shop.ini gives C:\Apps\Shop.exe; a name without "." gains ".exe").
String executableForSettings(StringView settingsPath);

// Where an executable lies and the settings file that belongs to it, formed
// once at the start of a launch and passed to whatever needs them.
struct ExecutablePaths {
  String module;    // the executable's full path
  String folder;    // its folder, ending in a backslash
  String settings;  // beside it (Shop.exe -> Shop.ini); empty when the name has no "."
};

// The paths that follow from an executable's full path.
ExecutablePaths executablePathsFor(const String& module);
