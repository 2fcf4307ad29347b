#pragma once
#include "common/text.h"

class LauncherApp;

// Appends the arguments configured in "Cmd" (`extraArguments`) to
// `arguments`: expanded, split like a command line, empty tokens dropped.
void appendExtraArguments(LauncherApp& app);
