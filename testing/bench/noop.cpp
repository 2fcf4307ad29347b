// The baselines of the launch benchmarks: a Windows program that does
// nothing, without even a C runtime, and (built with BENCH_GUI) one that does
// nothing but what every GUI program does first: connect to the display and
// get a message queue. Given "memory" on its command line, its exit code is
// its working set in KB, the baseline of the memory figure.
#include <windows.h>
#include <psapi.h>

extern "C" void __stdcall noopEntry() {
#ifdef BENCH_GUI
  ReleaseDC(nullptr, GetDC(nullptr));
  MSG message;
  PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
#endif
  UINT exitCode = 0;
  const wchar_t* commandLine = GetCommandLineW();
  for (const wchar_t* c = commandLine; *c; ++c) {
    if (c[0] == L'm' && c[1] == L'e' && c[2] == L'm' && c[3] == L'o' && c[4] == L'r' && c[5] == L'y') {
      PROCESS_MEMORY_COUNTERS memory{};
      memory.cb = sizeof memory;
      if (K32GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory)) {
        exitCode = static_cast<UINT>(memory.WorkingSetSize / 1024);
      }
      break;
    }
  }
  ExitProcess(exitCode);
}
