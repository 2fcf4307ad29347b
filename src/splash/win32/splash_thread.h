#pragma once
// The launcher's own splash: the window on a thread of its own, which shows
// the image until it is closed. Any thread may close it; the first close
// ends the thread and deletes the window, later ones do nothing.
#include <windows.h>

#include <atomic>
#include <memory>

#include "common/text.h"

class SplashWindow;

class SplashThread {
 public:
  SplashThread();
  ~SplashThread();
  SplashThread(const SplashThread&) = delete;
  SplashThread& operator=(const SplashThread&) = delete;

  // Starts the splash thread, which shows the image at its own size.
  void show(const String& image, bool shadow);
  void close();

 private:
  static DWORD WINAPI threadProc(void* self);

  std::unique_ptr<SplashWindow> window_;
  String image_;
  bool shadow_ = false;
  std::atomic<HANDLE> thread_{nullptr};
  DWORD threadId_ = 0;
};
