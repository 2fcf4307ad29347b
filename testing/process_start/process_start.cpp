#include "process_start.h"

#include <cstdio>

BOOL startProcess(const wchar_t* program, wchar_t* commandLine, BOOL inheritHandles, DWORD flags, void* environment,
                  const wchar_t* workingDirectory, STARTUPINFOW* startup, PROCESS_INFORMATION* process) {
  for (int attempt = 1;; ++attempt) {
    if (CreateProcessW(program, commandLine, nullptr, nullptr, inheritHandles, flags, environment, workingDirectory,
                       startup, process)) {
      return TRUE;
    }
    const DWORD error = GetLastError();
    if (error != ERROR_INTERNAL_ERROR || attempt == 3) {
      SetLastError(error);
      return FALSE;
    }
    std::fprintf(stderr, "process_start: %ls did not start (error %lu), starting it again\n",
                 program ? program : commandLine, error);
  }
}
