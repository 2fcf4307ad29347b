#include "splash/win32/splash_thread.h"

#include "common/win32/message_loop_thread.h"
#include "common/win32/unique_resource.h"
#include "splash/win32/splash_window.h"

SplashThread::SplashThread() = default;

SplashThread::~SplashThread() { close(); }

DWORD WINAPI SplashThread::threadProc(void* parameter) {
  auto* self = static_cast<SplashThread*>(parameter);
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

void SplashThread::show(const String& image, bool shadow) {
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

void SplashThread::close() {
  // Taken over atomically: the Java thread (an uncaught exception) and the
  // teardown may both ask, and only one may wait for the thread and free the window.
  UniqueHandle thread(thread_.exchange(nullptr));
  if (!thread) return;
  stopMessageLoopThread(threadId_, thread.get());
  window_.reset();
}
