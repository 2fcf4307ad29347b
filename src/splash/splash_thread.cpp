// The splash thread: creates the launcher's splash window, runs its messages
// until told to quit, and is ended from other threads by closeSplashWindow.
#include "launcher/launch_steps.h"
#include "launcher/launcher_app.h"
#include "splash/splash_window.h"

namespace {

DWORD WINAPI splashThreadProc(void* parameter) {
  const LauncherApp& app = *static_cast<const LauncherApp*>(parameter);
  // Only this exact spelling asks for the shadow.
  bool shadow = app.splashShadowValue == u"true";
  HWND hwnd = app.splashWindow->createSplashWindow(app.splashImage, shadow);
  if (hwnd) {
    ShowWindow(hwnd, SW_SHOWNORMAL);
    UpdateWindow(hwnd);
  }
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  if (hwnd) DestroyWindow(hwnd);
  return 0;
}

}  // namespace

void startSplashWindow(LauncherApp& app) {
  app.splashWindow = new SplashWindow;
  app.splashThread = CreateThread(nullptr, 0, splashThreadProc, &app, 0, &app.splashThreadId);
  if (!app.splashThread) {
    delete app.splashWindow;
    app.splashWindow = nullptr;
  }
}

void closeSplashWindow(LauncherApp& app) {
  // Taken over atomically: the Java thread (an uncaught exception) and the
  // teardown may both ask, and only one may wait for and delete the window.
  HANDLE thread = InterlockedExchangePointer(&app.splashThread, nullptr);
  if (!thread) return;
  stopMessageLoopThread(app.splashThreadId, thread);
  CloseHandle(thread);
  delete app.splashWindow;
  app.splashWindow = nullptr;
}
