#pragma once
#include "common/text.h"

// The settings file that belongs to an executable: its path up to and
// including the last ".", followed by "ini" (C:\Apps\Shop.exe gives
// C:\Apps\Shop.ini). Fails when the path holds no ".".
bool settingsPathForModule(StringView modulePath, String& settingsPath);

