#pragma once
#include "common/text.h"

// Reads an INI file, or the INI beside an executable, as a launch of that
// executable would (its embedded settings under the INI's own), prints every
// finding with its line number and returns 0 when there are none, 1 for
// warnings only, 2 for errors. Files it names are looked for in `appFolder`;
// when that is empty, in the executable's folder if it exists, else nowhere.
int checkSettings(const String& path, const String& appFolder);
