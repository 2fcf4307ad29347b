#pragma once
#include "common/text.h"

// Lists every Java runtime the launcher beside the INI can see on this
// machine, stage by stage, with the verdict of that INI's settings for each,
// and which one a launch takes. 0 when a launch would take one, 1 when it
// would show the JRE-not-found dialog, 2 when the INI cannot be read.
int listRuntimes(const String& iniPath);
