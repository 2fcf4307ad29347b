#include "launcher/win32/error_report.h"

#include <gtest/gtest.h>

#include "common/win32/string_table.h"
#include "common/win32/win_text.h"
#include "resources/resource_ids.h"
#include "robot/robot.h"

namespace {

String digits(size_t length) {
  String text;
  for (size_t i = 0; i < length; ++i) text += i % 10 == 9 ? u' ' : static_cast<char16_t>(u'0' + i % 10);
  return text;
}

std::wstring asWide(const String& s) { return std::wstring(wide(s)); }

TEST(LoadResourceString, LoadsTextsOfEveryLengthWhole) {
  for (size_t length : {1, 254, 255, 256, 511, 512, 1100}) {
    String text;
    ASSERT_TRUE(loadResourceString(static_cast<unsigned>(1000 + length), text));
    EXPECT_EQ(text.size(), length);
    EXPECT_EQ(text, digits(length)) << length;
  }
}

TEST(LoadResourceString, MissingTextIsEmpty) {
  String text = u"x";
  EXPECT_TRUE(loadResourceString(4242, text));
  EXPECT_TRUE(text.empty());
}

struct BoxCase {
  const char* name;
  TextRef text;
  TextRef caption;
  std::wstring expectedText;
  std::wstring expectedCaption;
};

TEST(ShowError, ShowsOneUnownedErrorBoxWithOk) {
  const BoxCase cases[] = {
      {"literal text, default caption", String(u"Something failed."), 0u, L"Something failed.", L"Error"},
      {"text from the table", 1000u + 511, 0u, asWide(digits(511)), L"Error"},
      {"caption from the table", String(u"x"), 950u, L"x", L"Caption from the table"},
      {"literal caption", String(u"y"), String(u"Title"), L"y", L"Title"},
  };
  for (const BoxCase& c : cases) {
    SCOPED_TRACE(c.name);
    robot::InProcessWatcher watcher({L"OK"});
    EXPECT_EQ(showError(nullptr, c.text, c.caption), IDOK);
    std::vector<robot::Window> seen = watcher.stop();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].className, L"#32770");
    EXPECT_EQ(seen[0].caption, c.expectedCaption);
    EXPECT_EQ(seen[0].staticText(), c.expectedText);
    EXPECT_TRUE(seen[0].errorIcon);
    EXPECT_FALSE(seen[0].hasOwner);
    int buttons = 0;
    for (const robot::Control& control : seen[0].controls) buttons += control.className == L"Button";
    EXPECT_EQ(buttons, 1);
  }
}

TEST(ShowWindowsError, WrapsTheTextAndTheErrorCode) {
  robot::InProcessWatcher watcher({L"OK"});
  report(windowsFailure(IDS_NO_MODULE_PATH, ERROR_ACCESS_DENIED));
  std::vector<robot::Window> seen = watcher.stop();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].staticText(), L"Windows exception: failed to get the module path (errno = 5).\n");
}

}  // namespace
