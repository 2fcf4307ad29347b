#pragma once
#include <windows.h>

#include "common/text.h"

// Turns a static control into a hyperlink to the address it shows: hand
// cursor, underlined font, a tooltip with the address, the link colours of
// the user's web settings, and opening the address on a click (or Space or
// Enter while it has the focus).
class LinkLabel {
 public:
  LinkLabel() = default;
  ~LinkLabel();
  LinkLabel(const LinkLabel&) = delete;
  LinkLabel& operator=(const LinkLabel&) = delete;

  // `font` is the dialog's font; the label draws with an underlined copy.
  void attach(HWND control, HFONT font);

  bool visited() const { return visited_; }
  COLORREF colour() const { return visited_ ? visitedColour_ : linkColour_; }
  HWND tooltip() const { return tooltip_; }

 private:
  static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR self);
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  void paint();
  void open();

  HWND control_ = nullptr;
  HFONT font_ = nullptr;
  HWND tooltip_ = nullptr;
  String target_;
  COLORREF linkColour_ = RGB(0, 0, 255);
  COLORREF visitedColour_ = RGB(128, 0, 128);
  bool visited_ = false;
  bool pressed_ = false;
};
