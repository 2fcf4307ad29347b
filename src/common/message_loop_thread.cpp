#include "common/message_loop_thread.h"

void stopMessageLoopThread(DWORD threadId, HANDLE thread) {
  for (;;) {
    PostThreadMessageW(threadId, WM_QUIT, 0, 0);
    WaitForSingleObject(thread, 10);
    DWORD exitCode = 0;
    if (!GetExitCodeThread(thread, &exitCode) || exitCode != STILL_ACTIVE) return;
  }
}
