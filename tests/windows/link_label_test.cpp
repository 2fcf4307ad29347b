// The download link of the JRE-not-found dialog, on a real static control in
// a dialog-class window, with the user's link colours in HKCU.
#include "ui/win32/link_label.h"

#include "robot/robot.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <vector>

namespace {

const wchar_t kSettingsKey[] = L"Software\\Microsoft\\Internet Explorer\\Settings";

void setUserValue(const wchar_t* name, const wchar_t* value) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  if (value) {
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                   static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
  } else {
    RegDeleteValueW(key, name);
  }
  RegCloseKey(key);
}

// A dialog-class window with one static control showing `target`.
class LinkWindow {
 public:
  explicit LinkWindow(const wchar_t* target) {
    dialog_ = CreateWindowExW(WS_EX_TOPMOST, WC_DIALOG, L"Link", WS_POPUP | WS_CAPTION | WS_VISIBLE, 100, 100, 400, 120,
                              nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    label_ = CreateWindowExW(0, L"Static", target, WS_CHILD | WS_VISIBLE, 20, 20, 300, 24, dialog_, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    link_.attach(label_, static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    UpdateWindow(dialog_);
    pump();
  }
  ~LinkWindow() { DestroyWindow(dialog_); }

  HWND label() const { return label_; }
  LinkLabel& link() { return link_; }

  static void pump() {
    MSG message;
    for (int round = 0; round < 5; ++round) {
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
      Sleep(20);
    }
  }

  // How many pixels of the label on screen have exactly `colour`.
  int pixelsOf(COLORREF colour) const {
    int width = 0, height = 0;
    int count = 0;
    for (const RGBQUAD& p : robot::screenPixels(label_, width, height)) {
      count += RGB(p.rgbRed, p.rgbGreen, p.rgbBlue) == colour;
    }
    return count;
  }

  // Whether the label shows more than ten pixels of `colour` within about
  // ten seconds: the repaint reaches the screen in its own time, later still
  // when other programs keep the display busy.
  bool shows(COLORREF colour) const {
    for (int round = 0; round < 100; ++round) {
      if (pixelsOf(colour) > 10) return true;
      pump();
    }
    return false;
  }

  void click() {
    SendMessageW(label_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageW(label_, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    pump();
  }

 private:
  HWND dialog_ = nullptr;
  HWND label_ = nullptr;
  LinkLabel link_;
};

TEST(LinkLabel, DrawsInTheUsersLinkColoursOrBlueAndPurple) {
  const struct {
    const wchar_t* anchor;
    const wchar_t* visited;
    COLORREF expectedLink;
    COLORREF expectedVisited;
  } cases[] = {
      {nullptr, nullptr, RGB(0, 0, 255), RGB(128, 0, 128)},
      {L"0,128,0", nullptr, RGB(0, 128, 0), RGB(128, 0, 128)},
      {L"green", L"255,0,0", RGB(0, 0, 255), RGB(255, 0, 0)},
      {L"0,128,0,", L"purple", RGB(0, 0, 255), RGB(128, 0, 128)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.anchor ? c.anchor : L"(no value)");
    setUserValue(L"Anchor Color", c.anchor);
    setUserValue(L"Anchor Color Visited", c.visited);
    LinkWindow window(L"https://jdk.java.net/");
    EXPECT_EQ(window.link().colour(), c.expectedLink);
    EXPECT_TRUE(window.shows(c.expectedLink)) << "the text is drawn in the link colour";
  }
  // A visit turns the link to the visited colour, on screen too.
  setUserValue(L"Anchor Color Visited", L"255,0,0");
  LinkWindow window(L"C:\\windows\\system32\\hostname.exe");
  window.click();
  EXPECT_TRUE(window.link().visited());
  EXPECT_TRUE(window.shows(RGB(255, 0, 0)));
  EXPECT_EQ(window.pixelsOf(RGB(0, 0, 255)), 0);
  setUserValue(L"Anchor Color", nullptr);
  setUserValue(L"Anchor Color Visited", nullptr);
}

TEST(LinkLabel, LooksAndActsLikeALink) {
  LinkWindow window(L"https://jdk.java.net/");
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window.label(), WM_GETFONT, 0, 0)), sizeof font, &font);
  EXPECT_TRUE(font.lfUnderline);
  EXPECT_TRUE(GetWindowLongW(window.label(), GWL_STYLE) & SS_NOTIFY);

  SendMessageW(window.label(), WM_SETCURSOR, reinterpret_cast<WPARAM>(window.label()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));

  ASSERT_NE(window.link().tooltip(), nullptr);
  EXPECT_EQ(SendMessageW(window.link().tooltip(), TTM_GETTOOLCOUNT, 0, 0), 1);
  wchar_t text[128] = L"";
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.lpszText = text;
  ASSERT_TRUE(SendMessageW(window.link().tooltip(), TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&tool)));
  EXPECT_STREQ(text, L"https://jdk.java.net/");
}

TEST(LinkLabel, OnlyASuccessfulOpenMarksItVisited) {
  const struct {
    const wchar_t* target;
    bool byKeyboard;
    bool visited;
  } cases[] = {
      {L"C:\\windows\\system32\\hostname.exe", false, true},
      {L"C:\\windows\\system32\\hostname.exe", true, true},
      {L"C:\\no such folder\\nothing.exe", false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.target);
    LinkWindow window(c.target);
    if (c.byKeyboard) {
      SetFocus(window.label());
      SendMessageW(window.label(), WM_KEYDOWN, VK_SPACE, 0);
    } else {
      window.click();
    }
    EXPECT_EQ(window.link().visited(), c.visited);
  }
  // A press that ends outside the label opens nothing.
  LinkWindow window(L"C:\\windows\\system32\\hostname.exe");
  SendMessageW(window.label(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  SendMessageW(window.label(), WM_LBUTTONUP, 0, MAKELPARAM(3, 500));
  EXPECT_FALSE(window.link().visited());
}

}  // namespace
