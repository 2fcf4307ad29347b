#pragma once
#include <windows.h>

// The console flavour of the launcher: the same program built for the
// console subsystem, for command-line applications. It reports on standard
// error what the window flavour shows in message boxes.
#include "common/text.h"

// Called by the launcher's entry point, before anything is reported: the
// flavour is the subsystem this executable was linked for. (Other programs
// that link the launcher's code, such as its tests, are the window flavour.)
void detectConsoleFlavour();
bool isConsoleFlavour();

// Whether a loaded executable (also one loaded as data) was linked for the
// console subsystem.
bool isConsoleImage(HMODULE module);

// Writes the text and a line end to standard error: to a console as UTF-16,
// to a file or pipe as UTF-8.
void writeErrorLine(StringView text);
