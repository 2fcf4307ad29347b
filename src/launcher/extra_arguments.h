#pragma once
#include "common/text.h"

class LauncherApp;

// Reads "Cmd" into `extraArguments` and appends its arguments.
void readExtraArguments(LauncherApp& app);

// Appends the arguments configured in "Cmd" (`extraArguments`) to
// `arguments`: expanded, split like a command line, empty tokens dropped.
void appendExtraArguments(LauncherApp& app);
