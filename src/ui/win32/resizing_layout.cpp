#include "ui/win32/resizing_layout.h"

namespace {

RECT clientRectOf(HWND control, HWND dialog) {
  RECT rect;
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

}  // namespace

void ResizingLayout::attach(HWND dialog, const std::vector<Rule>& rules) {
  dialog_ = dialog;
  SetWindowLongW(dialog, GWL_STYLE, GetWindowLongW(dialog, GWL_STYLE) | WS_CLIPCHILDREN);
  if (!(GetWindowLongW(dialog, GWL_STYLE) & WS_CHILD)) {
    SetWindowLongW(dialog, GWL_EXSTYLE, GetWindowLongW(dialog, GWL_EXSTYLE) | WS_EX_DLGMODALFRAME);
    // No icon of its own: the caption shows none rather than the default one.
    if (!SendMessageW(dialog, WM_GETICON, ICON_SMALL, 0) && !SendMessageW(dialog, WM_GETICON, ICON_BIG, 0)) {
      SendMessageW(dialog, WM_SETICON, ICON_SMALL, 0);
    }
  }
  RECT client;
  GetClientRect(dialog, &client);
  reference_ = {client.right, client.bottom};
  RECT window;
  GetWindowRect(dialog, &window);
  minimumTracking_ = {window.right - window.left, window.bottom - window.top};

  int gripSize = GetSystemMetrics(SM_CXVSCROLL);
  grip_ = CreateWindowExW(0, L"SCROLLBAR", nullptr, 0x5402001C, client.right - gripSize, client.bottom - gripSize,
                          gripSize, gripSize, dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kSizeGripId)),
                          GetModuleHandleW(nullptr), nullptr);
  if (grip_) gripInitial_ = clientRectOf(grip_, dialog);
  for (const Rule& rule : rules) {
    if (HWND control = GetDlgItem(dialog, rule.controlId)) {
      entries_.push_back({control, rule.flags, clientRectOf(control, dialog)});
    }
  }
}

bool ResizingLayout::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!dialog_) return false;
  if (message == WM_GETMINMAXINFO) {
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    if (minimumTracking_.x > 0) info->ptMinTrackSize = minimumTracking_;
    return true;
  }
  if (message != WM_SIZE) return false;
  if (wParam == SIZE_MINIMIZED) return true;
  if (grip_) ShowWindow(grip_, wParam == SIZE_MAXIMIZED ? SW_HIDE : SW_SHOW);
  layOut(LOWORD(lParam), HIWORD(lParam));
  return true;
}

void ResizingLayout::layOut(int width, int height) {
  const int dx = width - reference_.cx;
  const int dy = height - reference_.cy;
  HDWP moves = BeginDeferWindowPos(static_cast<int>(entries_.size()) + 1);
  for (const Entry& entry : entries_) {
    RECT r = entry.initial;
    int x = r.left + ((entry.flags & MoveX) ? dx : 0);
    int y = r.top + ((entry.flags & MoveY) ? dy : 0);
    int w = (r.right - r.left) + ((entry.flags & SizeX) ? dx : 0);
    int h = (r.bottom - r.top) + ((entry.flags & SizeY) ? dy : 0);
    if (moves) moves = DeferWindowPos(moves, entry.control, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (grip_ && moves) {
    moves = DeferWindowPos(moves, grip_, nullptr, gripInitial_.left + dx, gripInitial_.top + dy, 0, 0,
                           SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
  }
  if (moves) EndDeferWindowPos(moves);
  InvalidateRect(dialog_, nullptr, TRUE);
}
