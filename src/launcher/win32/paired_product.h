#pragma once
// The hand-over to the paired product: the sibling launcher for runtimes this
// process cannot load.
#include <cstdint>

#include "common/text.h"

// Starts `pairProduct` with this process's command line unchanged; with
// `passExitCode` waits for it and returns its exit code, otherwise 0. -1
// when it cannot be started.
int32_t launchPairedProduct(const String& pairProduct, bool passExitCode);

// Whether the paired product started this process (and forgets it, so that
// the application's own child processes do not inherit it).
bool takeHandOverMark();
