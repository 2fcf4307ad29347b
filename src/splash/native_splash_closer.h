#pragma once
#include <atomic>

// Holds the runtime splash library's close function; firing calls it once
// and empties the holder, so every later firing, from any thread, does nothing.
class NativeSplashCloser {
 public:
  using CloseFunction = void (*)();

  void arm(CloseFunction close) { close_.store(close); }
  void fire() {
    if (CloseFunction close = close_.exchange(nullptr)) close();
  }

 private:
  std::atomic<CloseFunction> close_{nullptr};
};
