#pragma once
#include <windows.h>

#include "settings/settings_path.h"

// This process's paths. The buffer grows until the whole module path fits,
// so long paths are never cut; false with the system's `error` when there is
// no module path.
bool currentExecutablePaths(ExecutablePaths& paths, DWORD& error);
