#include "ui/win32/link_label.h"

#include "common/win32/win_text.h"
#include "ui/anchor_colour.h"
#include "ui/win32/dialog_libraries.h"

namespace {

const UINT_PTR kSubclassId = 205;

// A colour from the user's web settings, or `fallback`.
COLORREF userColour(const wchar_t* name, COLORREF fallback) {
  wchar_t value[64];
  DWORD size = sizeof value;
  if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Internet Explorer\\Settings", name, RRF_RT_REG_SZ,
                   nullptr, value, &size) != ERROR_SUCCESS) {
    return fallback;
  }
  auto colour = parseAnchorColour(fromWide(value));
  return colour ? RGB(colour->red, colour->green, colour->blue) : fallback;
}

String controlText(HWND control) {
  int length = GetWindowTextLengthW(control);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), length + 1)));
  return fromWide(text.c_str());
}

}  // namespace

LinkLabel::~LinkLabel() {
  if (control_ && IsWindow(control_)) dialog_libraries::removeWindowSubclass(control_, windowProc, kSubclassId);
  if (tooltip_ && IsWindow(tooltip_)) DestroyWindow(tooltip_);
  if (font_) DeleteObject(font_);
}

void LinkLabel::attach(HWND control, HFONT font) {
  control_ = control;
  target_ = controlText(control);
  linkColour_ = userColour(L"Anchor Color", linkColour_);
  visitedColour_ = userColour(L"Anchor Color Visited", visitedColour_);

  LOGFONTW description{};
  if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  if (GetObjectW(font, sizeof description, &description)) {
    description.lfUnderline = TRUE;
    font_ = CreateFontIndirectW(&description);
  }
  if (font_) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);

  // Clicks need the notify style; Tab reaches the link so Space and Enter can open it.
  SetWindowLongW(control, GWL_STYLE, GetWindowLongW(control, GWL_STYLE) | SS_NOTIFY | WS_TABSTOP);
  dialog_libraries::setWindowSubclass(control, windowProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));

  dialog_libraries::initCommonControls(ICC_WIN95_CLASSES);
  HWND dialog = GetParent(control);
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  if (tooltip_) {
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = dialog;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<wchar_t*>(wide(target_));
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  InvalidateRect(control, nullptr, TRUE);
}

LRESULT CALLBACK LinkLabel::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR self) {
  if (message == WM_NCDESTROY) {
    dialog_libraries::removeWindowSubclass(window, windowProc, kSubclassId);
    reinterpret_cast<LinkLabel*>(self)->control_ = nullptr;
    return dialog_libraries::defSubclassProc(window, message, wParam, lParam);
  }
  return reinterpret_cast<LinkLabel*>(self)->handle(message, wParam, lParam);
}

LRESULT LinkLabel::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      paint();
      return 0;
    case WM_SETCURSOR:
      SetCursor(LoadCursorW(nullptr, IDC_HAND));
      return TRUE;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateRect(control_, nullptr, TRUE);
      break;
    case WM_GETDLGCODE:
      // Enter would otherwise go to the dialog's default button.
      if (lParam && reinterpret_cast<const MSG*>(lParam)->message == WM_KEYDOWN &&
          reinterpret_cast<const MSG*>(lParam)->wParam == VK_RETURN) {
        return DLGC_WANTMESSAGE;
      }
      break;
    case WM_KEYDOWN:
      if (wParam == VK_SPACE || wParam == VK_RETURN) {
        open();
        return 0;
      }
      break;
    case WM_LBUTTONDOWN:
      pressed_ = true;
      SetFocus(control_);
      SetCapture(control_);
      return 0;
    case WM_LBUTTONUP: {
      bool wasPressed = pressed_;
      pressed_ = false;
      if (GetCapture() == control_) ReleaseCapture();
      RECT area;
      GetClientRect(control_, &area);
      POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      if (wasPressed && PtInRect(&area, at)) open();
      return 0;
    }
    case WM_CAPTURECHANGED:
      pressed_ = false;
      break;
    default:
      break;
  }
  return dialog_libraries::defSubclassProc(control_, message, wParam, lParam);
}

void LinkLabel::paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(control_, &paint);
  RECT area;
  GetClientRect(control_, &area);
  // The dialog decides the background, as for any static control.
  auto brush = reinterpret_cast<HBRUSH>(
      SendMessageW(GetParent(control_), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control_)));
  FillRect(dc, &area, brush ? brush : GetSysColorBrush(COLOR_3DFACE));
  HGDIOBJ oldFont = SelectObject(dc, font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT));
  SetTextColor(dc, colour());
  SetBkMode(dc, TRANSPARENT);
  const UINT format = DT_LEFT | DT_SINGLELINE | DT_NOPREFIX;
  DrawTextW(dc, wide(target_), -1, &area, format);
  if (GetFocus() == control_) {
    RECT text = area;
    DrawTextW(dc, wide(target_), -1, &text, format | DT_CALCRECT);
    IntersectRect(&text, &text, &area);
    DrawFocusRect(dc, &text);
  }
  SelectObject(dc, oldFont);
  EndPaint(control_, &paint);
}

void LinkLabel::open() {
  auto result = reinterpret_cast<INT_PTR>(dialog_libraries::openDocument(GetParent(control_), wide(target_)));
  if (result <= 32) return;
  visited_ = true;
  InvalidateRect(control_, nullptr, TRUE);
}
