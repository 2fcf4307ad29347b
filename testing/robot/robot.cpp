#include "robot/robot.h"

#include <algorithm>
#include <set>

namespace robot {
namespace {

std::wstring windowText(HWND hwnd) {
  int length = GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), length + 1)));
  return text;
}

std::wstring className(HWND hwnd) {
  wchar_t name[256];
  int length = GetClassNameW(hwnd, name, 256);
  return std::wstring(name, static_cast<size_t>(length > 0 ? length : 0));
}

std::wstring withoutMnemonic(const std::wstring& text) {
  std::wstring out;
  for (wchar_t c : text) {
    if (c != L'&') out += c;
  }
  return out;
}

// Icon handles do not cross processes, so an icon control is recognised by
// what it shows: its pixels on screen against the system error icon drawn
// on the dialog colour.
bool showsErrorIcon(HWND control) {
  RECT rect;
  if (!GetWindowRect(control, &rect)) return false;
  int width = rect.right - rect.left;
  int height = rect.bottom - rect.top;
  int size = GetSystemMetrics(SM_CXICON);
  if (width < size || height < size) return false;

  HDC screen = GetDC(nullptr);
  HDC shown = CreateCompatibleDC(screen);
  HDC drawn = CreateCompatibleDC(screen);
  HBITMAP shownBitmap = CreateCompatibleBitmap(screen, size, size);
  HBITMAP drawnBitmap = CreateCompatibleBitmap(screen, size, size);
  HGDIOBJ oldShown = SelectObject(shown, shownBitmap);
  HGDIOBJ oldDrawn = SelectObject(drawn, drawnBitmap);
  BitBlt(shown, 0, 0, size, size, screen, rect.left, rect.top, SRCCOPY);
  RECT all{0, 0, size, size};
  FillRect(drawn, &all, GetSysColorBrush(COLOR_3DFACE));
  DrawIconEx(drawn, 0, 0, LoadIconW(nullptr, IDI_ERROR), size, size, 0, nullptr, DI_NORMAL);

  int same = 0;
  int coloured = 0;
  COLORREF face = GetSysColor(COLOR_3DFACE);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      COLORREF expected = GetPixel(drawn, x, y);
      same += GetPixel(shown, x, y) == expected;
      coloured += expected != face;
    }
  }
  SelectObject(shown, oldShown);
  SelectObject(drawn, oldDrawn);
  DeleteObject(shownBitmap);
  DeleteObject(drawnBitmap);
  DeleteDC(shown);
  DeleteDC(drawn);
  ReleaseDC(nullptr, screen);

  return coloured > 0 && same * 10 >= size * size * 9;
}

Window record(HWND hwnd) {
  Window w;
  w.className = className(hwnd);
  w.caption = windowText(hwnd);
  w.hasOwner = GetWindow(hwnd, GW_OWNER) != nullptr;
  for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    Control c;
    c.id = GetDlgCtrlID(child);
    c.className = className(child);
    c.text = windowText(child);
    c.enabled = IsWindowEnabled(child);
    c.visible = IsWindowVisible(child);
    bool iconControl = (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
    if (_wcsicmp(c.className.c_str(), L"Static") == 0 && iconControl) {
      // The box may not be painted yet: look again for a while.
      for (int attempt = 0; attempt < 20 && !w.errorIcon; ++attempt) {
        w.errorIcon = showsErrorIcon(child);
        if (!w.errorIcon) Sleep(50);
      }
    }
    w.controls.push_back(c);
  }
  return w;
}

// Presses the button with the given text, or closes the window when there is none.
std::wstring press(HWND hwnd, const std::wstring& button) {
  for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (_wcsicmp(className(child).c_str(), L"Button") == 0 && withoutMnemonic(windowText(child)) == button) {
      PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(child), BN_CLICKED), reinterpret_cast<LPARAM>(child));
      return button;
    }
  }
  PostMessageW(hwnd, WM_CLOSE, 0, 0);
  return L"(closed)";
}

struct Scan {
  DWORD processId;
  std::vector<HWND> found;
};

BOOL CALLBACK collect(HWND hwnd, LPARAM param) {
  auto scan = reinterpret_cast<Scan*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid == scan->processId && IsWindowVisible(hwnd)) scan->found.push_back(hwnd);
  return TRUE;
}

// One round of watching: records new windows of the process and answers
// dialogs. Returns false when nothing new appeared.
class Watch {
 public:
  Watch(DWORD processId, std::vector<std::wstring> presses, std::vector<Window>& seen)
      : processId_(processId), presses_(std::move(presses)), seen_(seen) {}

  void poll() {
    Scan scan{processId_, {}};
    EnumWindows(collect, reinterpret_cast<LPARAM>(&scan));
    for (HWND hwnd : scan.found) {
      if (handled_.count(hwnd)) continue;
      // Let a dialog finish its initialisation before reading it.
      Sleep(150);
      if (!IsWindow(hwnd)) continue;
      handled_.insert(hwnd);
      Window w = record(hwnd);
      if (w.isDialog()) {
        w.expected = next_ < presses_.size();
        w.pressed = press(hwnd, w.expected ? presses_[next_++] : L"(unexpected)");
      }
      seen_.push_back(w);
    }
  }

 private:
  DWORD processId_;
  std::vector<std::wstring> presses_;
  size_t next_ = 0;
  std::set<HWND> handled_;
  std::vector<Window>& seen_;
};

}  // namespace

std::wstring Window::staticText() const {
  std::wstring text;
  for (const Control& c : controls) {
    if (_wcsicmp(c.className.c_str(), L"Static") != 0 || c.text.empty()) continue;
    if (!text.empty()) text += L'\n';
    text += c.text;
  }
  return text;
}

int Outcome::unexpectedCount() const {
  return static_cast<int>(std::count_if(windows.begin(), windows.end(),
                                        [](const Window& w) { return w.isDialog() && !w.expected; }));
}

std::vector<Window> Outcome::dialogs() const {
  std::vector<Window> out;
  std::copy_if(windows.begin(), windows.end(), std::back_inserter(out), [](const Window& w) { return w.isDialog(); });
  return out;
}

struct OutputReader {
  HANDLE pipe;
  std::string text;

  static DWORD WINAPI threadProc(void* self) {
    auto reader = static_cast<OutputReader*>(self);
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(reader->pipe, buffer, sizeof buffer, &read, nullptr) && read > 0) reader->text.append(buffer, read);
    return 0;
  }
};

Outcome run(const Launch& launch) {
  Outcome outcome;
  std::wstring commandLine = launch.commandLine.empty() ? L"\"" + launch.program + L"\"" : launch.commandLine;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (launch.captureOutput) {
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    CreatePipe(&readEnd, &writeEnd, &inherit, 0);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = writeEnd;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  }
  PROCESS_INFORMATION process{};
  BOOL created = CreateProcessW(launch.program.c_str(), commandLine.data(), nullptr, nullptr, launch.captureOutput,
                                0, nullptr, launch.workingDirectory.empty() ? nullptr : launch.workingDirectory.c_str(),
                                &startup, &process);
  if (writeEnd) CloseHandle(writeEnd);
  OutputReader reader{readEnd, {}};
  HANDLE readerThread = readEnd ? CreateThread(nullptr, 0, OutputReader::threadProc, &reader, 0, nullptr) : nullptr;
  if (!created) {
    outcome.startError = GetLastError();
    if (readerThread) WaitForSingleObject(readerThread, INFINITE), CloseHandle(readerThread);
    if (readEnd) CloseHandle(readEnd);
    return outcome;
  }
  outcome.started = true;
  Watch watch(process.dwProcessId, launch.presses, outcome.windows);
  DWORD started = GetTickCount();
  for (;;) {
    watch.poll();
    if (WaitForSingleObject(process.hProcess, 50) == WAIT_OBJECT_0) break;
    if (GetTickCount() - started > launch.timeoutMs) {
      watch.poll();
      TerminateProcess(process.hProcess, 0xDEAD);
      WaitForSingleObject(process.hProcess, 5000);
      outcome.timedOut = true;
      break;
    }
  }
  GetExitCodeProcess(process.hProcess, &outcome.exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  if (readerThread) {
    // Children of the program may still hold the pipe: do not wait for them forever.
    if (WaitForSingleObject(readerThread, 5000) == WAIT_TIMEOUT) CancelSynchronousIo(readerThread);
    WaitForSingleObject(readerThread, INFINITE);
    CloseHandle(readerThread);
    outcome.output = reader.text;
  }
  if (readEnd) CloseHandle(readEnd);
  return outcome;
}

InProcessWatcher::InProcessWatcher(std::vector<std::wstring> presses) : presses_(std::move(presses)) {
  thread_ = CreateThread(nullptr, 0, threadProc, this, 0, nullptr);
}

InProcessWatcher::~InProcessWatcher() { stop(); }

DWORD WINAPI InProcessWatcher::threadProc(void* self) {
  auto watcher = static_cast<InProcessWatcher*>(self);
  Watch watch(GetCurrentProcessId(), watcher->presses_, watcher->seen_);
  while (!InterlockedCompareExchange(&watcher->stopping_, 0, 0)) {
    watch.poll();
    Sleep(50);
  }
  watch.poll();
  return 0;
}

std::vector<Window> InProcessWatcher::stop() {
  if (thread_) {
    InterlockedExchange(&stopping_, 1);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    thread_ = nullptr;
  }
  return seen_;
}

std::wstring describe(const Outcome& outcome) {
  std::wstring out;
  if (!outcome.started) return L"not started, error " + std::to_wstring(outcome.startError) + L"\n";
  out += L"exit code " + std::to_wstring(outcome.exitCodeSigned()) + (outcome.timedOut ? L" (timed out)" : L"") + L"\n";
  for (const Window& w : outcome.windows) {
    out += L"window [" + w.className + L"] caption \"" + w.caption + L"\"";
    if (w.errorIcon) out += L", error icon";
    if (w.hasOwner) out += L", owned";
    if (w.isDialog()) out += w.expected ? L", pressed " + w.pressed : L", UNEXPECTED, " + w.pressed;
    out += L"\n";
    for (const Control& c : w.controls) {
      out += L"  " + std::to_wstring(c.id) + L" " + c.className + L" \"" + c.text + L"\"" +
             (c.enabled ? L"" : L" disabled") + L"\n";
    }
  }
  return out;
}

}  // namespace robot
