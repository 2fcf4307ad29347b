#include "common/win32/console_flavour.h"

#include <windows.h>

#include <algorithm>
#include <iterator>

namespace {

bool consoleFlavour = false;  // set once, on the main thread, before other threads start

}  // namespace

bool isConsoleImage(HMODULE module) {
  // A module loaded as data has its low bits set; its headers lie at the base.
  const auto* base = reinterpret_cast<const BYTE*>(reinterpret_cast<ULONG_PTR>(module) & ~ULONG_PTR{3});
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  return nt->OptionalHeader.Subsystem == IMAGE_SUBSYSTEM_WINDOWS_CUI;
}

void detectConsoleFlavour() { consoleFlavour = isConsoleImage(GetModuleHandleW(nullptr)); }

bool isConsoleFlavour() { return consoleFlavour; }

bool attachToParentConsole() {
  const DWORD streams[] = {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE};
  const auto missing = [](DWORD stream) {
    HANDLE handle = GetStdHandle(stream);
    return !handle || handle == INVALID_HANDLE_VALUE;
  };
  if (consoleFlavour || std::none_of(std::begin(streams), std::end(streams), missing)) return false;
  // Denied: the process has a console already (Wine gives a window program
  // its parent's), which serves as well.
  if (!AttachConsole(ATTACH_PARENT_PROCESS) && GetLastError() != ERROR_ACCESS_DENIED) return false;
  for (DWORD stream : streams) {
    if (!missing(stream)) continue;  // the caller's redirection stays
    // The standard handle table owns it for the rest of the process.
    HANDLE console = CreateFileW(stream == STD_INPUT_HANDLE ? L"CONIN$" : L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (console != INVALID_HANDLE_VALUE) SetStdHandle(stream, console);
  }
  return true;
}

void writeErrorLine(StringView text) {
  HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
  if (!error || error == INVALID_HANDLE_VALUE) return;
  const String line = String(text) + u"\r\n";
  DWORD mode = 0, written = 0;
  if (GetConsoleMode(error, &mode)) {
    WriteConsoleW(error, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    return;
  }
  const std::string bytes = toUtf8(line);
  WriteFile(error, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}
