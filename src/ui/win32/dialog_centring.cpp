#include "ui/win32/dialog_centring.h"

void centreDialog(HWND dialog) {
  RECT box;
  if (!GetWindowRect(dialog, &box)) return;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  if (!GetMonitorInfoW(MonitorFromWindow(dialog, MONITOR_DEFAULTTONEAREST), &monitor)) return;
  const RECT area = monitor.rcWork;

  RECT centre = area;
  HWND owner = GetWindow(dialog, GW_OWNER);
  if (owner && IsWindowVisible(owner) && !IsIconic(owner)) GetWindowRect(owner, &centre);

  const LONG width = box.right - box.left;
  const LONG height = box.bottom - box.top;
  LONG left = (centre.left + centre.right - width) / 2;
  LONG top = (centre.top + centre.bottom - height) / 2;
  if (left + width > area.right) left = area.right - width;
  if (top + height > area.bottom) top = area.bottom - height;
  if (left < area.left) left = area.left;
  if (top < area.top) top = area.top;
  SetWindowPos(dialog, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
