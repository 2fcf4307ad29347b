#pragma once
#include <windows.h>

// Ends a thread that runs a message loop: posts WM_QUIT until the thread has
// ended (it may not have a message queue yet when the first post is made).
// False when it still runs after `timeoutMs`.
bool stopMessageLoopThread(DWORD threadId, HANDLE thread, DWORD timeoutMs = INFINITE);
