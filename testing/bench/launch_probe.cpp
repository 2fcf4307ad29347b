#include "launch_probe.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "process_start/process_start.h"

long long counterNow() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

double counterMs(long long ticks) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(ticks) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

HANDLE startProgram(const std::wstring& exe, const std::wstring& arguments) {
  std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!startProcess(exe.c_str(), commandLine.data(), FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return nullptr;
  }
  CloseHandle(process.hThread);
  return process.hProcess;
}

std::vector<std::string> journalValues(const std::wstring& journal, const std::string& key) {
  std::ifstream in(journal.c_str(), std::ios::binary);
  std::vector<std::string> values;
  for (std::string line; std::getline(in, line);) {
    if (line.compare(0, key.size() + 1, key + "=") == 0) values.push_back(line.substr(key.size() + 1));
  }
  return values;
}

LaunchTiming timeLaunch(const std::wstring& exe, const std::wstring& arguments, const std::wstring& journal) {
  LaunchTiming timing;
  if (!journal.empty()) DeleteFileW(journal.c_str());
  const long long started = counterNow();
  HANDLE process = startProgram(exe, arguments);
  if (!process) return timing;
  const bool ended = WaitForSingleObject(process, 60000) == WAIT_OBJECT_0;
  const long long finished = counterNow();
  if (!ended) TerminateProcess(process, 0xDEAD);
  GetExitCodeProcess(process, &timing.exitCode);
  CloseHandle(process);
  timing.totalMs = counterMs(finished - started);
  timing.ok = ended;
  if (!journal.empty()) {
    const auto clock = journalValues(journal, "create-clock");
    const auto memory = journalValues(journal, "create-working-set");
    timing.ok = ended && clock.size() == 1 && memory.size() == 1;
    if (timing.ok) {
      timing.toVmMs = counterMs(std::atoll(clock[0].c_str()) - started);
      timing.workingSetMb = static_cast<double>(std::atoll(memory[0].c_str())) / (1024.0 * 1024.0);
    }
  }
  return timing;
}
