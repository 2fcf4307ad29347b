#pragma once
#include "common/text.h"

// Reads the INI file, prints every finding with its line number and returns
// 0 when there are none, 1 for warnings only, 2 for errors.
int checkIniFile(const String& path);
