#pragma once
#include "common/text.h"

// Appends the arguments configured in "Cmd" to `arguments`: expanded, split
// like a command line, empty tokens dropped.
void appendExtraArguments(const String& extra, StringList& arguments);
