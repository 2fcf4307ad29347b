#include "launcher/win32/extra_arguments.h"

#include <gtest/gtest.h>

#include "common/win32/environment.h"
#include "common/environment_references.h"
#include "common/win32/win_text.h"

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
    StringList arguments = {u"file.txt"};
    appendExtraArguments(c.cmd, arguments);
    EXPECT_EQ(arguments, c.expected) << toUtf8(c.cmd);
  }
}

// Past the system's limit of 32767 characters the launcher replaces
// references itself: the same result as the system for what it can handle,
// and nothing cut beyond.
TEST(ExtraArguments, ExpansionMatchesTheSystemAndHasNoLengthLimit) {
  SetEnvironmentVariableW(L"SHOP_DATA", L"C:\\Shop Data");
  SetEnvironmentVariableW(L"SHOP_EMPTY", L"");
  SetEnvironmentVariableW(L"SHOP_UNDEFINED", nullptr);
  const char16_t* texts[] = {
      u"%SHOP_DATA%\\in",    u"%SHOP_UNDEFINED%",         u"%SHOP_UNDEFINED%SHOP_DATA%", u"%%SHOP_DATA%%",
      u"100%",                u"%",                         u"%%",                         u"a%SHOP_EMPTY%b",
      u"%shop_data%",         u"%SHOP_DATA%%SHOP_DATA%",    u"%SHOP DATA%",                u"x%SHOP_DATA",
  };
  for (const char16_t* text : texts) {
    wchar_t system[512];
    ASSERT_GT(ExpandEnvironmentStringsW(wide(String(text)), system, 512), 0u);
    EXPECT_EQ(toUtf8(expandEnvironment(text)), toUtf8(fromWide(system))) << toUtf8(text);
    const String own = expandReferences(text, environmentVariable);
    EXPECT_EQ(toUtf8(own), toUtf8(fromWide(system))) << toUtf8(text);
  }
  const String jars = String(40000, u'j');
  EXPECT_EQ(expandEnvironment(u"%SHOP_DATA%;" + jars + u";%SHOP_UNDEFINED%"),
            u"C:\\Shop Data;" + jars + u";%SHOP_UNDEFINED%");
  SetEnvironmentVariableW(L"SHOP_LONG", wide(String(20000, u'x')));
  EXPECT_EQ(expandEnvironment(u"%SHOP_LONG%%SHOP_LONG%").size(), 40000u) << "a result beyond the limit";
}

}  // namespace
