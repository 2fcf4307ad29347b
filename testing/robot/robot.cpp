#include "robot/robot.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwctype>
#include <map>

#include "process_start/process_start.h"
#include "robot/folder_picker.h"
#include "robot/png_file.h"
// After <windows.h>.
#include <tlhelp32.h>

namespace robot {
namespace {

// Asks the window itself: for windows of other processes GetWindowText only
// sees the caption the system keeps, which edit controls do not update.
std::wstring windowText(HWND hwnd) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) return L"";
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 2000,
                      &copied);
  text.resize(static_cast<size_t>(copied));
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

bool sameControls(const Window& a, const Window& b) {
  if (a.controls.size() != b.controls.size()) return false;
  for (size_t i = 0; i < a.controls.size(); ++i) {
    const Control& x = a.controls[i];
    const Control& y = b.controls[i];
    if (x.id != y.id || x.text != y.text || x.enabled != y.enabled || x.visible != y.visible) return false;
  }
  return true;
}

bool ownsDialog(HWND owner);

Window record(HWND hwnd);

// Reads a dialog once it has settled: no dialog of its own left and
// its controls the same twice in a row, so that what a dialog does after
// showing up (or after a modal window of its own closed) is seen.
Window recordSettled(HWND hwnd) {
  for (int wait = 0; wait < 100 && ownsDialog(hwnd); ++wait) Sleep(30);
  Window last = record(hwnd);
  for (int attempt = 0; attempt < 15; ++attempt) {
    Sleep(150);
    if (!IsWindow(hwnd)) break;
    Window now = record(hwnd);
    bool settled = sameControls(last, now);
    last = now;
    if (settled) break;
  }
  if (!last.isDialog()) {
    // A window that paints itself (a splash) may need a moment for its image.
    int width = 0, height = 0;
    for (int attempt = 0; attempt < 10 && IsWindow(hwnd); ++attempt) {
      std::vector<RGBQUAD> now = screenPixels(hwnd, width, height);
      bool same = !now.empty() && now.size() == last.pixels.size() &&
                  std::equal(now.begin(), now.end(), last.pixels.begin(), [](const RGBQUAD& a, const RGBQUAD& b) {
                    return a.rgbRed == b.rgbRed && a.rgbGreen == b.rgbGreen && a.rgbBlue == b.rgbBlue;
                  });
      last.pixels = std::move(now);
      if (same || last.pixels.empty()) break;
      Sleep(100);
    }
  }
  return last;
}

struct VisibleScan {
  DWORD processId;
  HWND except;
  std::vector<std::wstring> classNames;
};

BOOL CALLBACK collectVisible(HWND hwnd, LPARAM param) {
  auto scan = reinterpret_cast<VisibleScan*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid == scan->processId && hwnd != scan->except && IsWindowVisible(hwnd)) scan->classNames.push_back(className(hwnd));
  return TRUE;
}

Window record(HWND hwnd) {
  Window w;
  w.className = className(hwnd);
  w.caption = windowText(hwnd);
  w.hasOwner = GetWindow(hwnd, GW_OWNER) != nullptr;
  GetWindowRect(hwnd, &w.rect);
  w.style = GetWindowLongPtrW(hwnd, GWL_STYLE);
  w.exStyle = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
  w.classStyle = static_cast<LONG_PTR>(GetClassLongPtrW(hwnd, GCL_STYLE));
  DWORD processId = 0;
  w.threadId = GetWindowThreadProcessId(hwnd, &processId);
  VisibleScan others{processId, hwnd, {}};
  EnumWindows(collectVisible, reinterpret_cast<LPARAM>(&others));
  w.alongside = std::move(others.classNames);
  for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    Control c;
    c.id = GetDlgCtrlID(child);
    c.className = className(child);
    c.enabled = IsWindowEnabled(child);
    c.visible = IsWindowVisible(child);
    GetWindowRect(child, &c.rect);
    bool iconControl = _wcsicmp(c.className.c_str(), L"Static") == 0 &&
                       (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
    // An icon control's text is its resource name, not something shown.
    if (!iconControl) c.text = windowText(child);
    if (iconControl) {
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

const std::wstring kPickPrefix = L"pick:";

// Presses the button with the given text, or closes the window when there is
// none. "pick:FOLDER" selects FOLDER in a folder picker and presses its OK.
// The window actions that leave the dialog open, to be read again.
bool changeWindow(HWND hwnd, const std::wstring& action) {
  if (action == L"maximize" || action == L"restore") {
    ShowWindow(hwnd, action == L"maximize" ? SW_MAXIMIZE : SW_RESTORE);
    return true;
  }
  int width = 0, height = 0;
  if (swscanf(action.c_str(), L"resize:%d,%d", &width, &height) != 2) return false;
  SetWindowPos(hwnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  return true;
}

std::wstring press(HWND hwnd, const std::wstring& button) {
  if (button.compare(0, kPickPrefix.size(), kPickPrefix) == 0) {
    if (!selectFolderInPicker(hwnd, button.substr(kPickPrefix.size()))) {
      PostMessageW(hwnd, WM_COMMAND, IDCANCEL, 0);
      return L"(folder not found) " + button;
    }
    PostMessageW(hwnd, WM_COMMAND, IDOK, 0);
    return button;
  }
  for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (_wcsicmp(className(child).c_str(), L"Button") == 0 && withoutMnemonic(windowText(child)) == button) {
      // A user cannot press a disabled button either.
      if (!IsWindowEnabled(child)) break;
      PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(child), BN_CLICKED), reinterpret_cast<LPARAM>(child));
      return button;
    }
  }
  PostMessageW(hwnd, WM_CLOSE, 0, 0);
  return L"(closed)" + (button == L"(close)" || button == L"(unexpected)" ? L"" : L" instead of " + button);
}

std::wstring fileName(const std::wstring& caption) {
  std::wstring name;
  for (wchar_t c : caption) name += iswalnum(c) ? c : L'-';
  return name.empty() ? L"window" : name;
}

struct OwnedScan {
  HWND owner;
  bool found;
};

// A closed dialog is hidden first and destroyed later, when the code that
// showed it may still be busy; so hidden dialogs count until they are gone.
BOOL CALLBACK findOwned(HWND hwnd, LPARAM param) {
  auto scan = reinterpret_cast<OwnedScan*>(param);
  if (GetWindow(hwnd, GW_OWNER) == scan->owner && className(hwnd) == L"#32770") scan->found = true;
  return !scan->found;
}

bool ownsDialog(HWND owner) {
  OwnedScan scan{owner, false};
  EnumWindows(findOwned, reinterpret_cast<LPARAM>(&scan));
  return scan.found;
}

struct Scan {
  const std::map<DWORD, unsigned long long>& processes;
  std::vector<HWND> found;
};

BOOL CALLBACK collect(HWND hwnd, LPARAM param) {
  auto scan = reinterpret_cast<Scan*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (scan->processes.count(pid) && IsWindowVisible(hwnd)) scan->found.push_back(hwnd);
  return TRUE;
}

// When the process began, or 0 when it cannot be asked.
unsigned long long creationTime(DWORD pid) {
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (!process) return 0;
  FILETIME created{}, exited{}, kernel{}, user{};
  const bool known = GetProcessTimes(process, &created, &exited, &kernel, &user);
  CloseHandle(process);
  return known ? (static_cast<unsigned long long>(created.dwHighDateTime) << 32) | created.dwLowDateTime : 0;
}

// Adds the running processes whose parent is among `processes`, and theirs.
// Process ids are reused, so a process that began before the one its parent
// id names (a system process whose parent ended long ago) is not its child.
void addDescendants(std::map<DWORD, unsigned long long>& processes) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return;
  for (bool added = true; added;) {
    added = false;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
      auto parent = processes.find(entry.th32ParentProcessID);
      if (parent == processes.end() || processes.count(entry.th32ProcessID)) continue;
      const unsigned long long created = creationTime(entry.th32ProcessID);
      if (created < parent->second) continue;
      processes.emplace(entry.th32ProcessID, created);
      added = true;
    }
  }
  CloseHandle(snapshot);
}

// One round of watching: records new windows of the process and answers
// dialogs. A dialog that was disabled while a modal window of its own was
// open (a folder picker, a message box) counts as appearing again once it is
// enabled again, so a test can go on pressing its buttons.
class Watch {
 public:
  // `followChildren`: the windows of the processes it starts count too.
  Watch(DWORD processId, std::vector<std::wstring> presses, std::vector<Window>& seen,
        std::wstring screenshotFolder = L"", bool followChildren = false)
      : processes_{{processId, creationTime(processId)}}, followChildren_(followChildren), presses_(std::move(presses)), seen_(seen),
        screenshotFolder_(std::move(screenshotFolder)) {}

  const std::map<DWORD, unsigned long long>& processes() const { return processes_; }

  void poll() {
    if (followChildren_) addDescendants(processes_);
    Scan scan{processes_, {}};
    EnumWindows(collect, reinterpret_cast<LPARAM>(&scan));
    for (HWND hwnd : scan.found) {
      auto known = handled_.find(hwnd);
      if (known != handled_.end()) {
        if (!IsWindowEnabled(hwnd)) known->second = State::Waiting;
        if (known->second == State::Answered || !IsWindowEnabled(hwnd)) continue;
      } else if (!IsWindowEnabled(hwnd)) {
        continue;
      }
      handled_[hwnd] = State::Answered;
      auto owner = handled_.find(GetWindow(hwnd, GW_OWNER));
      if (owner != handled_.end()) owner->second = State::Waiting;
      Window w = recordSettled(hwnd);
      if (!IsWindow(hwnd)) continue;
      if (!screenshotFolder_.empty() && w.width() > 0 && w.height() > 0) {
        std::wstring file = screenshotFolder_ + L"\\" + std::to_wstring(seen_.size() + 1) + L"-" + fileName(w.caption.empty() ? w.className : w.caption) + L".png";
        if (saveScreenshot(hwnd, file)) w.screenshot = file;
      }
      if (w.isDialog()) {
        w.expected = next_ < presses_.size();
        std::wstring action = w.expected ? presses_[next_++] : L"(unexpected)";
        if (changeWindow(hwnd, action)) {
          w.pressed = action;
          handled_[hwnd] = State::Waiting;
        } else {
          w.pressed = press(hwnd, action);
        }
      }
      seen_.push_back(w);
    }
  }

 private:
  enum class State { Answered, Waiting };
  std::map<DWORD, unsigned long long> processes_;  // id and creation time
  bool followChildren_;
  std::vector<std::wstring> presses_;
  size_t next_ = 0;
  std::map<HWND, State> handled_;
  std::vector<Window>& seen_;
  std::wstring screenshotFolder_;
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

DWORD bound(DWORD ms) {
  const char* x86 = getenv("WINE_SESSION_X86");
  return x86 && std::string(x86) == "emulated" ? ms * 8 : ms;
}

Outcome run(const Launch& launch) {
  Outcome outcome;
  std::wstring commandLine = launch.commandLine.empty() ? L"\"" + launch.program + L"\"" : launch.commandLine;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  HANDLE readEnd = nullptr, writeEnd = nullptr, inputRead = nullptr, inputWrite = nullptr;
  if (launch.captureOutput) {
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    CreatePipe(&readEnd, &writeEnd, &inherit, 0);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = writeEnd;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    if (CreatePipe(&inputRead, &inputWrite, &inherit, static_cast<DWORD>(launch.input.size()) + 1)) {
      SetHandleInformation(inputWrite, HANDLE_FLAG_INHERIT, 0);
      startup.hStdInput = inputRead;
    }
  }
  PROCESS_INFORMATION process{};
  BOOL created = startProcess(launch.program.c_str(), commandLine.data(), launch.captureOutput,
                              launch.ownConsole ? CREATE_NEW_CONSOLE : 0, nullptr,
                              launch.workingDirectory.empty() ? nullptr : launch.workingDirectory.c_str(), &startup,
                              &process);
  if (writeEnd) CloseHandle(writeEnd);
  if (inputRead) CloseHandle(inputRead);
  if (inputWrite) {
    // The pipe holds it all, so the write never waits for the program.
    DWORD written = 0;
    if (created) WriteFile(inputWrite, launch.input.data(), static_cast<DWORD>(launch.input.size()), &written, nullptr);
    CloseHandle(inputWrite);
  }
  OutputReader reader{readEnd, {}};
  HANDLE readerThread = readEnd ? CreateThread(nullptr, 0, OutputReader::threadProc, &reader, 0, nullptr) : nullptr;
  if (!created) {
    outcome.startError = GetLastError();
    if (readerThread) WaitForSingleObject(readerThread, INFINITE), CloseHandle(readerThread);
    if (readEnd) CloseHandle(readEnd);
    return outcome;
  }
  outcome.started = true;
  Watch watch(process.dwProcessId, launch.presses, outcome.windows, launch.screenshotFolder, true);
  const DWORD started = GetTickCount(), limit = bound(launch.timeoutMs);
  for (;;) {
    watch.poll();
    if (WaitForSingleObject(process.hProcess, 50) == WAIT_OBJECT_0) break;
    if (GetTickCount() - started > limit) {
      watch.poll();
      // A child left running would hold the test's output open, and the
      // test program would never be seen to end.
      for (const auto& [id, created] : watch.processes()) {
        HANDLE child = id == process.dwProcessId ? nullptr : OpenProcess(PROCESS_TERMINATE, FALSE, id);
        if (child) TerminateProcess(child, 0xDEAD), CloseHandle(child);
      }
      TerminateProcess(process.hProcess, 0xDEAD);
      WaitForSingleObject(process.hProcess, 5000);
      outcome.timedOut = true;
      break;
    }
  }
  GetExitCodeProcess(process.hProcess, &outcome.exitCode);
  outcome.processes = static_cast<int>(watch.processes().size());
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

std::vector<RGBQUAD> screenPixels(HWND window, int& width, int& height) {
  RECT area{};
  GetWindowRect(window, &area);
  width = std::max(0L, area.right - area.left);
  height = std::max(0L, area.bottom - area.top);
  if (width == 0 || height == 0) return {};
  HDC screen = GetDC(nullptr);
  HDC copy = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(copy, bitmap);
  BitBlt(copy, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
  SelectObject(copy, old);
  BITMAPINFO format{};
  format.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<RGBQUAD> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
  int rows = GetDIBits(copy, bitmap, 0, static_cast<UINT>(height), pixels.data(), &format, DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(copy);
  ReleaseDC(nullptr, screen);
  if (rows != height) pixels.clear();
  return pixels;
}

bool saveScreenshot(HWND window, const std::wstring& path) {
  int width = 0, height = 0;
  std::vector<RGBQUAD> pixels = screenPixels(window, width, height);
  if (pixels.empty()) return false;

  std::vector<uint8_t> rgb;
  rgb.reserve(pixels.size() * 3);
  for (const RGBQUAD& p : pixels) rgb.insert(rgb.end(), {p.rgbRed, p.rgbGreen, p.rgbBlue});
  std::string png = encodePng(static_cast<uint32_t>(width), static_cast<uint32_t>(height), rgb);
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = WriteFile(file, png.data(), static_cast<DWORD>(png.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == png.size();
}

std::wstring describe(const Outcome& outcome) {
  std::wstring out;
  if (!outcome.started) return L"not started, error " + std::to_wstring(outcome.startError) + L"\n";
  out += L"exit code " + std::to_wstring(outcome.exitCodeSigned()) + (outcome.timedOut ? L" (timed out)" : L"") + L"\n";
  for (const Window& w : outcome.windows) {
    out += L"window [" + w.className + L"] caption \"" + w.caption + L"\"";
    if (w.errorIcon) out += L", error icon";
    if (!w.screenshot.empty()) out += L", screenshot " + w.screenshot;
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
