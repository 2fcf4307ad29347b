#pragma once
#include <cstdint>

#include "common/text.h"

// The machine this executable is built for: x86 for the 32-bit launcher,
// x64 for its 64-bit sibling; the paired product is built for the other one.
uint16_t ownMachine();
uint16_t pairedMachine();

// True when the file is a PE image for the paired product's machine. A third
// machine (ARM64) or anything that keeps the question open (no file, no
// mapping, not a PE, no Dbghelp) answers false: neither product could load it.
bool builtForPairedMachine(const String& dllPath);

// The machine a PE image is built for (IMAGE_FILE_MACHINE_...); 0 when the
// file cannot be read as one.
uint16_t imageMachine(const String& dllPath);
