// Libraries of the "dependency-in-bin" runtime: bin_helper.dll, which its
// jvm.dll imports, and msvcr100.dll, which only a launcher loads, each lying
// in the runtime's bin folder and journalling its name when it loads. Built
// as TEST_PLANTED_LIBRARY, a bin_helper.dll for a test to plant in the
// current directory: loading that one ends the process with exit code 77.
#include <windows.h>

#include "journal.h"

extern "C" __declspec(dllexport) int bin_helper_value() { return 0; }

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
#ifdef TEST_PLANTED_LIBRARY
  test_runtime::journalFlag("planted-library");
  TerminateProcess(GetCurrentProcess(), 77);
#else
  test_runtime::journal("bin-library", TEST_BIN_LIBRARY);
#endif
  return TRUE;
}
