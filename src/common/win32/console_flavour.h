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

// For the window flavour started from a prompt, which gives it no standard
// handles: attaches to the console of the process that started it and makes
// that console the missing standard handles, so that the VM, which takes
// its standard streams from them as it starts, writes there. Whether it did.
bool attachToParentConsole();

// Writes the text and a line end to standard error: to a console as UTF-16,
// to a file or pipe as UTF-8.
void writeErrorLine(StringView text);
