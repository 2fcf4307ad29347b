#pragma once
// Starts programs and times them with the performance counter, which the
// test runtime also writes into its journal when the VM is asked for.
#include <windows.h>

#include <string>
#include <vector>

struct LaunchTiming {
  bool ok = false;
  double toVmMs = 0;       // process creation until JNI_CreateJavaVM was entered
  double totalMs = 0;      // process creation until the process had ended
  double workingSetMb = 0; // resident memory when the VM was asked for
  DWORD exitCode = 0;
};

// Runs `exe` with `arguments` until it ends (at most a minute). With a
// journal, the moment and memory of the VM's creation are read from it.
LaunchTiming timeLaunch(const std::wstring& exe, const std::wstring& arguments, const std::wstring& journal = L"");

// Starts a program without waiting; null when it cannot be started.
HANDLE startProgram(const std::wstring& exe, const std::wstring& arguments);

// The journal's values of `key`, in order.
std::vector<std::string> journalValues(const std::wstring& journal, const std::string& key);

double counterMs(long long ticks);
long long counterNow();
