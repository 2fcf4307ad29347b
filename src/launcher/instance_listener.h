#pragma once
// The first instance's side of single instance: a listener thread takes each
// later launch's request out of the shared block, and a delivery thread per
// request hands it to secondaryMain once main is about to run.
#include <windows.h>

#include "common/text.h"

class LauncherApp;

// What a later launch gets for a request that was taken but cannot be
// delivered: no room for another delivery thread, or the launch ended before
// main was about to run.
constexpr int32_t kRequestNotDelivered = -1;

// Starts the listener in app.instanceListener; it writes its thread id into
// the block. The listener ends on the quit message: it then refuses the
// requests still waiting for main and returns once every delivery thread has
// ended. False when the listener or its events cannot be had.
bool startInstanceListener(LauncherApp& app, const String& name, UINT messageId);
