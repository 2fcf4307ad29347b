// Command-line robot: robot [--press TEXT]... [--timeout MS] [--cwd DIR] [--screenshots DIR] PROGRAM [ARGUMENT...]
// Runs PROGRAM, answers its dialogs in order with the given buttons, prints
// what it showed and ends with PROGRAM's exit code (3 when it timed out,
// 2 on a usage error).
#include <cstdio>
#include <cwchar>
#include <string>

#include "robot/robot.h"

namespace {

void print(const std::wstring& text) {
  int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
  fwrite(bytes.data(), 1, bytes.size(), stdout);
  fflush(stdout);
}

std::wstring quoted(const std::wstring& argument) {
  if (!argument.empty() && argument.find(L' ') == std::wstring::npos) return argument;
  return L"\"" + argument + L"\"";
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  robot::Launch launch;
  int i = 1;
  for (; i + 1 < argc && argv[i][0] == L'-' && argv[i][1] == L'-'; i += 2) {
    std::wstring option = argv[i];
    if (option == L"--press") launch.presses.push_back(argv[i + 1]);
    else if (option == L"--timeout") launch.timeoutMs = static_cast<DWORD>(wcstoul(argv[i + 1], nullptr, 10));
    else if (option == L"--cwd") launch.workingDirectory = argv[i + 1];
    else if (option == L"--screenshots") launch.screenshotFolder = argv[i + 1];
    else break;
  }
  if (i >= argc) {
    print(L"usage: robot [--press TEXT]... [--timeout MS] [--cwd DIR] [--screenshots DIR] PROGRAM [ARGUMENT...]\n");
    return 2;
  }
  launch.program = argv[i];
  launch.commandLine = quoted(launch.program);
  for (int k = i + 1; k < argc; ++k) launch.commandLine += L" " + quoted(argv[k]);

  robot::Outcome outcome = robot::run(launch);
  print(robot::describe(outcome));
  if (!outcome.started) return 2;
  return outcome.timedOut ? 3 : outcome.exitCodeSigned();
}
