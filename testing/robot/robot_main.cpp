// Command-line robot: robot [--press TEXT]... [--timeout MS] [--cwd DIR] [--screenshots DIR] [--prompt]
//                            PROGRAM [ARGUMENT...]
// Runs PROGRAM, answers its dialogs in order with the given buttons, prints
// what it showed and ends with PROGRAM's exit code (3 when it timed out,
// 2 on a usage error). With --prompt, PROGRAM starts as from a prompt: from
// a console of the robot's own and without standard handles; what that
// console then shows is printed too.
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

// Gives the robot a console of its own and no standard handles to pass on.
// (Its C runtime keeps writing where its standard output went.)
void becomePrompt() {
  FreeConsole();
  AllocConsole();
  for (DWORD stream : {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) SetStdHandle(stream, nullptr);
}

// The console's lines up to its cursor, without their trailing blanks.
std::wstring consoleText() {
  HANDLE console = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
  CONSOLE_SCREEN_BUFFER_INFO info{};
  std::wstring text;
  if (console != INVALID_HANDLE_VALUE && GetConsoleScreenBufferInfo(console, &info)) {
    std::wstring row(static_cast<size_t>(info.dwSize.X), L' ');
    for (SHORT y = 0; y <= info.dwCursorPosition.Y; ++y) {
      DWORD read = 0;
      ReadConsoleOutputCharacterW(console, row.data(), static_cast<DWORD>(row.size()), COORD{0, y}, &read);
      std::wstring line = row.substr(0, read);
      line.erase(line.find_last_not_of(L' ') + 1);  // npos + 1: all blanks
      text += line + L"\n";
    }
  }
  if (console != INVALID_HANDLE_VALUE) CloseHandle(console);
  return text;
}

std::wstring quoted(const std::wstring& argument) {
  if (!argument.empty() && argument.find(L' ') == std::wstring::npos) return argument;
  return L"\"" + argument + L"\"";
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  robot::Launch launch;
  int i = 1;
  bool prompt = false;
  for (; i + 1 < argc && argv[i][0] == L'-' && argv[i][1] == L'-'; i += 2) {
    std::wstring option = argv[i];
    if (option == L"--prompt") {
      prompt = true;
      --i;  // it takes no value
      continue;
    }
    if (option == L"--press") launch.presses.push_back(argv[i + 1]);
    else if (option == L"--timeout") launch.timeoutMs = static_cast<DWORD>(wcstoul(argv[i + 1], nullptr, 10));
    else if (option == L"--cwd") launch.workingDirectory = argv[i + 1];
    else if (option == L"--screenshots") launch.screenshotFolder = argv[i + 1];
    else break;
  }
  if (i >= argc) {
    print(L"usage: robot [--press TEXT]... [--timeout MS] [--cwd DIR] [--screenshots DIR] [--prompt] PROGRAM "
          L"[ARGUMENT...]\n");
    return 2;
  }
  launch.program = argv[i];
  launch.commandLine = quoted(launch.program);
  for (int k = i + 1; k < argc; ++k) launch.commandLine += L" " + quoted(argv[k]);

  if (prompt) becomePrompt();
  robot::Outcome outcome = robot::run(launch);
  print(robot::describe(outcome));
  if (prompt) print(L"console:\n" + consoleText());
  if (!outcome.started) return 2;
  return outcome.timedOut ? 3 : outcome.exitCodeSigned();
}
