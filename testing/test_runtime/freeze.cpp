#include "freeze.h"

#include <tlhelp32.h>

#include <vector>

#include "journal.h"

namespace test_runtime {

void freezeOtherThreads(DWORD milliseconds) {
  journal("freeze", static_cast<long long>(milliseconds));
  std::vector<HANDLE> threads;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot != INVALID_HANDLE_VALUE) {
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
      if (entry.th32OwnerProcessID != GetCurrentProcessId() || entry.th32ThreadID == GetCurrentThreadId()) continue;
      if (HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID)) threads.push_back(thread);
    }
    CloseHandle(snapshot);
  }
  // Nothing between the suspension and the resumption may take a lock (the
  // heap's, the journal's): a stopped thread may hold it.
  for (HANDLE thread : threads) SuspendThread(thread);
  Sleep(milliseconds);
  for (HANDLE thread : threads) ResumeThread(thread);
  for (HANDLE thread : threads) CloseHandle(thread);
  journal("thawed", static_cast<long long>(threads.size()));
}

}  // namespace test_runtime
