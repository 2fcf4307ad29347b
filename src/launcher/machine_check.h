#pragma once
#include <cstdint>

#include "common/text.h"

// The machine this executable is built for: x86 for the 32-bit launcher,
// x64 for its 64-bit sibling.
uint16_t ownMachine();

// True when the file is a PE image whose machine is not this executable's.
// Anything that keeps the question open (no file, no mapping, not a PE, no
// Dbghelp) answers false.
bool builtForAnotherMachine(const String& dllPath);
