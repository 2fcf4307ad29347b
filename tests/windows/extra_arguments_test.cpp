#include "launcher/extra_arguments.h"

#include <gtest/gtest.h>

#include "common/win_text.h"
#include "launcher/launcher_app.h"

namespace {

TEST(ExtraArguments, AreExpandedSplitAndAppendedWithoutEmptyTokens) {
  SetEnvironmentVariableW(L"SHOP_DATA", L"C:\\Shop Data");
  SetEnvironmentVariableW(L"SHOP_LONG", wide(String(5000, u'x')));
  const struct {
    const char16_t* cmd;
    StringList expected;
  } cases[] = {
      {u"", {u"file.txt"}},
      {u"-v \"%SHOP_DATA%\\in\" \"\" last", {u"file.txt", u"-v", u"C:\\Shop Data\\in", u"last"}},
      {u"%SHOP_UNDEFINED% -nosplash", {u"file.txt", u"%SHOP_UNDEFINED%", u"-nosplash"}},
      {u"%SHOP_LONG%", {u"file.txt", String(5000, u'x')}},
      {u"\"\"", {u"file.txt"}},
  };
  for (const auto& c : cases) {
    LauncherApp app;
    app.arguments = {u"file.txt"};
    app.extraArguments = c.cmd;
    appendExtraArguments(app);
    EXPECT_EQ(app.arguments, c.expected) << toUtf8(c.cmd);
  }
}

}  // namespace
