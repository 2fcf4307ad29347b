#pragma once
#include <windows.h>

#include <vector>

// Keeps a dialog's controls in place as it is resized: each listed control
// grows or moves with the change of the client size, as its flags say; a
// size grip follows the bottom-right corner and the dialog never gets
// smaller than it opened.
class ResizingLayout {
 public:
  enum Flags { SizeX = 1, SizeY = 2, MoveX = 4, MoveY = 8 };
  struct Rule {
    int controlId;
    int flags;
  };

  void attach(HWND dialog, const std::vector<Rule>& rules);
  // The dialog's messages the layout answers; true when handled.
  bool handle(UINT message, WPARAM wParam, LPARAM lParam);

  static const int kSizeGripId = 0xE801;

 private:
  struct Entry {
    HWND control;
    int flags;
    RECT initial;
  };
  void layOut(int width, int height);

  HWND dialog_ = nullptr;
  HWND grip_ = nullptr;
  SIZE reference_{};
  POINT minimumTracking_{};
  RECT gripInitial_{};
  std::vector<Entry> entries_;
};
