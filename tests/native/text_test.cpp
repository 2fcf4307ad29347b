#include "common/text.h"

#include <gtest/gtest.h>

namespace {

struct FormatCase {
  const char16_t* pattern;
  std::initializer_list<FormatArg> args;
  const char16_t* expected;
};

TEST(FormatText, KnowsExactlyTextNumberAndPercent) {
  const FormatCase cases[] = {
      {u"Windows exception: %s (errno = %d).\n", {String(u"failed to get the module path"), 5},
       u"Windows exception: failed to get the module path (errno = 5).\n"},
      {u"JNI exception: %s\nReason: %s.\n", {String(u"failed to create the Java VM"), String()},
       u"JNI exception: failed to create the Java VM\nReason: .\n"},
      {u"%d|%d|%d", {0, -1, INT32_MIN}, u"0|-1|-2147483648"},
      {u"%d", {INT32_MAX}, u"2147483647"},
      {u"100%% of %s", {String(u"it")}, u"100% of it"},
      // Unknown conversions are copied; width and length flags are not understood.
      {u"%x %ls %5d %", {String(u"a")}, u"%x %ls %5d %"},
      // A missing argument formats as nothing.
      {u"between %s and %s", {String(u"1.8")}, u"between 1.8 and "},
      // Wide %s never depends on a C runtime's reading of the pattern.
      {u"%s", {String(u"\u00e9\u4e2d")}, u"\u00e9\u4e2d"},
  };
  for (const FormatCase& c : cases) {
    EXPECT_EQ(toUtf8(formatText(c.pattern, c.args)), toUtf8(c.expected)) << toUtf8(c.pattern);
  }
}

TEST(TrimWhiteSpace, RemovesUnicodeSpacesAtBothEndsOnly) {
  const std::pair<const char16_t*, const char16_t*> cases[] = {
      {u"", u""},
      {u"   ", u""},
      {u" \t\r\n\"C:\\A B\\Shop.exe\" x \u3000\u00a0", u"\"C:\\A B\\Shop.exe\" x"},
      {u"a  b", u"a  b"},
      {u"\u2003a\u2029", u"a"},
      {u"\ufeffa", u"\ufeffa"},  // the byte-order mark is not white space
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(toUtf8(trimWhiteSpace(text)), toUtf8(expected));
  }
}

TEST(EqualsIgnoreCase, ComparesAsciiLettersWithoutCase) {
  EXPECT_TRUE(equalsIgnoreCase(u"Yes", u"yES"));
  EXPECT_FALSE(equalsIgnoreCase(u"Yes", u"Ye"));
  EXPECT_FALSE(equalsIgnoreCase(u"Yes ", u"Yes"));
  EXPECT_TRUE(equalsIgnoreCase(u"", u""));
}

TEST(Utf8, RoundTripsAndMarksMalformedSequences) {
  String text = u"a\u00e9\u4e2d\U0001F600";
  EXPECT_EQ(fromUtf8(toUtf8(text)), text);
  const std::pair<std::string, String> malformed[] = {
      {"a\xC3", u"a\uFFFD"},              // cut short at the end
      {"\xC3x", u"\uFFFDx"},              // the next byte is no continuation
      {"\xC0\xAF", u"\uFFFD"},            // overlong "/"
      {"\xED\xA0\x80", u"\uFFFD"},        // a surrogate
      {"\xF4\x90\x80\x80", u"\uFFFD"},    // beyond U+10FFFF
      {"\x80\xFF", u"\uFFFD\uFFFD"},
  };
  for (const auto& [bytes, expected] : malformed) EXPECT_EQ(toUtf8(fromUtf8(bytes)), toUtf8(expected)) << bytes;
}

}  // namespace
