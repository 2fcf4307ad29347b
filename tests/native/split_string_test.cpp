#include "common/split_string.h"

#include <gtest/gtest.h>

namespace {

TEST(SplitString, KeepsInnerEmptyPartsButNoTrailingOne) {
  using Parts = std::vector<std::string>;
  const struct {
    const char16_t* text;
    const char16_t* separator;
    Parts expected;
  } cases[] = {
      {u"", u";", {}},
      {u"abc", u";", {"abc"}},
      {u"a;b", u";", {"a", "b"}},
      {u"a;;b", u";", {"a", "", "b"}},
      {u";a", u";", {"", "a"}},
      {u"a;", u";", {"a"}},
      {u";", u";", {""}},
      {u";;", u";", {"", ""}},
      {u" a ; b ", u";", {" a ", " b "}},
      {u"l1\r\nl2\nl2b\r\n\r\nl4", u"\r\n", {"l1", "l2\nl2b", "", "l4"}},
      {u"a\r\n", u"\r\n", {"a"}},
      {u"A;a", u"a", {"A;"}},  // case-sensitive search
  };
  for (const auto& c : cases) {
    StringList parts{u"stale"};
    splitString(c.text, c.separator, parts);
    Parts got;
    for (const String& p : parts) got.push_back(toUtf8(p));
    EXPECT_EQ(got, c.expected) << toUtf8(c.text);
  }
}

}  // namespace
