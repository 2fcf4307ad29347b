#include "common/win32/message_loop_thread.h"

bool stopMessageLoopThread(DWORD threadId, HANDLE thread, DWORD timeoutMs) {
  const ULONGLONG start = GetTickCount64();
  for (;;) {
    PostThreadMessageW(threadId, WM_QUIT, 0, 0);
    WaitForSingleObject(thread, 10);
    DWORD exitCode = 0;
    if (!GetExitCodeThread(thread, &exitCode) || exitCode != STILL_ACTIVE) return true;
    if (timeoutMs != INFINITE && GetTickCount64() - start >= timeoutMs) return false;
  }
}
