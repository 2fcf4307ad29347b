#pragma once
#include "common/text.h"

// True when FindFirstFileW finds at least one entry (file or folder) for the
// path or pattern, taken unchanged.
bool fileExists(const String& path);
