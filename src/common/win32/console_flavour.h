#pragma once
// The console flavour of the launcher: the same program built for the
// console subsystem, for command-line applications. It reports on standard
// error what the window flavour shows in message boxes.
#include "common/text.h"

// Whether this executable was built for the console subsystem.
bool isConsoleFlavour();

// Writes the text and a line end to standard error: to a console as UTF-16,
// to a file or pipe as UTF-8.
void writeErrorLine(StringView text);
