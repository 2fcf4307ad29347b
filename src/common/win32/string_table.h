#pragma once
#include "common/failure.h"
#include "common/text.h"

// Loads a text of the executable's own string table. The buffer starts at 256
// characters and doubles until the whole text fits, so texts of any length
// load completely. Returns false (and an empty text) when no buffer could be
// had; a missing text loads as the empty string.
bool loadResourceString(unsigned id, String& text);

// Same, for callers that only need the text.
String resourceString(unsigned id);

// The failure of a system call: text 202 "Windows exception: %s (errno = %d)."
// with the text `what` and the system's error code.
Failure windowsFailure(unsigned what, uint32_t errorCode);
