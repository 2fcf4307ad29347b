#include "splash/splash_screen.h"

#include "common/message_loop_thread.h"
#include "common/unique_resource.h"
#include "splash/splash_window.h"

SplashScreen::SplashScreen() = default;

SplashScreen::~SplashScreen() { close(); }

DWORD WINAPI SplashScreen::threadProc(void* parameter) {
  auto* self = static_cast<SplashScreen*>(parameter);
  HWND hwnd = self->window_->createSplashWindow(self->image_, self->shadow_);
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

void SplashScreen::show(const String& image, bool shadow) {
  image_ = image;
  shadow_ = shadow;
  window_ = std::make_unique<SplashWindow>();
  HANDLE thread = CreateThread(nullptr, 0, threadProc, this, 0, &threadId_);
  if (!thread) {
    window_.reset();
    return;
  }
  thread_ = thread;
}

void SplashScreen::close() {
  // Taken over atomically: the Java thread (an uncaught exception) and the
  // teardown may both ask, and only one may wait for the thread and free the window.
  UniqueHandle thread(thread_.exchange(nullptr));
  if (!thread) return;
  stopMessageLoopThread(threadId_, thread.get());
  window_.reset();
}
