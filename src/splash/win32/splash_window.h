#pragma once
// The launcher's own splash: a borderless popup showing one image, centred on
// the primary screen. The splash thread creates it and runs its messages.
#include <windows.h>

#include "common/text.h"

class SplashWindow {
 public:
  SplashWindow() = default;
  ~SplashWindow();
  SplashWindow(const SplashWindow&) = delete;
  SplashWindow& operator=(const SplashWindow&) = delete;

  // Creates the window for the image scaled to the primary monitor, or for
  // the variant made for its scale; null when no window could be made. An
  // unreadable image gives a window of zero size.
  HWND createSplashWindow(const String& imagePath, bool shadow);
  HWND hwnd() const { return hwnd_; }

 private:
  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void paint(HWND hwnd) const;

  HWND hwnd_ = nullptr;
  HBITMAP bitmap_ = nullptr;
};
