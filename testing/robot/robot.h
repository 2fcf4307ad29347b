#pragma once
// The dialog robot: starts a program, watches the top-level windows of its
// process and of the processes it starts, records every message box and dialog (caption, owner, icon,
// controls) and presses the buttons a test asks for. A window nobody asked
// for is recorded as unexpected and closed, so a test fails instead of hanging.
#include <windows.h>

#include <string>
#include <vector>

namespace robot {

struct Control {
  int id = 0;
  std::wstring className;
  std::wstring text;
  bool enabled = false;
  bool visible = false;
  RECT rect{};  // on the screen
};

struct Window {
  std::wstring className;
  std::wstring caption;
  bool hasOwner = false;
  bool errorIcon = false;  // shows the system's error icon
  bool expected = false;   // a press was scripted for it
  std::wstring pressed;    // the button the robot pressed
  std::wstring screenshot; // the PNG file of the window as it was seen, when asked for
  std::vector<Control> controls;
  RECT rect{};             // on the screen
  LONG_PTR style = 0, exStyle = 0, classStyle = 0;
  DWORD threadId = 0;      // the thread that created the window
  // What the screen showed of a window that is not a dialog (a splash), rows
  // top to bottom, once two reads in a row agreed.
  std::vector<RGBQUAD> pixels;
  // Class names of the process's other visible windows when this one was read.
  std::vector<std::wstring> alongside;

  // The texts of the static controls joined by line feeds: a message box's message.
  std::wstring staticText() const;
  bool isDialog() const { return className == L"#32770"; }
  int width() const { return rect.right - rect.left; }
  int height() const { return rect.bottom - rect.top; }
  RGBQUAD pixel(int x, int y) const { return pixels.at(static_cast<size_t>(y) * width() + x); }
};

struct Launch {
  std::wstring program;          // full path of the executable
  std::wstring commandLine;      // complete command line; empty: the quoted program path
  std::wstring workingDirectory; // empty: the robot's own
  // What to do with each dialog that appears, in order: a button's text,
  // "(close)", "pick:FOLDER" in a folder picker, or "resize:W,H",
  // "maximize" or "restore", after which the dialog is read and answered
  // again with the next press.
  std::vector<std::wstring> presses;
  DWORD timeoutMs = 60000;
  bool captureOutput = false;    // collect the program's standard output and error
  std::string input;             // with captureOutput: its standard input, then the end of it
  bool ownConsole = false;       // a console of its own, whose Ctrl+C reaches nobody else
  std::wstring screenshotFolder; // save each window seen as a PNG file there
};

struct Outcome {
  bool started = false;
  DWORD startError = 0;
  bool timedOut = false;
  DWORD exitCode = 0;
  int processes = 0;  // the program and the processes it started, as far as seen
  std::vector<Window> windows;
  std::string output;  // standard output and error, when captured

  int exitCodeSigned() const { return static_cast<int>(exitCode); }
  int unexpectedCount() const;
  std::vector<Window> dialogs() const;
};

// Starts the program and watches it until it ends or the time is up (then it
// and the processes it started are terminated and `timedOut` set).
Outcome run(const Launch& launch);

// A bound on a wait for programs to do their work, stretched where 32-bit
// programs run in emulation (WINE_SESSION_X86=emulated), which takes each
// about a minute to start.
DWORD bound(DWORD ms);

// Watches the current process's own windows on a background thread while a
// test calls code that shows message boxes. `stop` returns what was seen.
class InProcessWatcher {
 public:
  explicit InProcessWatcher(std::vector<std::wstring> presses);
  ~InProcessWatcher();
  std::vector<Window> stop();

 private:
  static DWORD WINAPI threadProc(void* self);
  std::vector<std::wstring> presses_;
  std::vector<Window> seen_;
  HANDLE thread_ = nullptr;
  volatile LONG stopping_ = 0;
};

// What the screen shows of the window, rows top to bottom; empty on failure.
std::vector<RGBQUAD> screenPixels(HWND window, int& width, int& height);

// Saves what the screen shows of the window as a PNG file.
bool saveScreenshot(HWND window, const std::wstring& path);

// A printable report of an outcome, for test failures and the command-line robot.
std::wstring describe(const Outcome& outcome);

}  // namespace robot
