#include <gtest/gtest.h>

#include "settings/profile_text.h"

namespace {

TEST(ProfileText, ReadsAndWritesAsTheProfileFunctions) {
  const char16_t* text = u"[ Java Runtime Environment ]\nMain Class = \"com.Ü.App\" \r"
                         u"main class=second\r\n; note\r\nquoted='a\"\r\n[Application]\r\nCmd=--user=Jürgen 😀\r\n"
                         u"[application]\r\nCmd=ignored";
  const struct {
    const char16_t* section;
    const char16_t* key;
    const char16_t* expected;  // null: missing
  } lookups[] = {
      {u"java runtime environment", u"MAIN CLASS", u"com.Ü.App"},
      {u"Java Runtime Environment", u"quoted", u"'a\""},
      {u"Java Runtime Environment", u"; note", nullptr},
      {u"Application", u"Cmd", u"--user=Jürgen 😀"},
      {u"Class Path", u"Cmd", nullptr},
  };
  const ProfileText profile(text);
  for (const auto& c : lookups) {
    String value;
    const bool found = profile.lookup(c.section, c.key, value);
    EXPECT_EQ(found, c.expected != nullptr) << toUtf8(c.key);
    if (c.expected) {
      EXPECT_EQ(toUtf8(value), toUtf8(c.expected));
    }
  }
  EXPECT_EQ(profile.sectionNames(), (StringList{u"Java Runtime Environment", u"Application", u"application"}));

  const struct {
    const char16_t* text;
    const char16_t* expected;
  } writes[] = {
      {u"[A]\r\nJRE Path=old\r\nx=1\r\n", u"[A]\r\nJRE Path=new\r\nx=1\r\n"},
      {u"[a]\r\nx=1\r\n[B]\r\ny=2", u"[a]\r\nx=1\r\nJRE Path=new\r\n[B]\r\ny=2"},
      {u"[A]", u"[A]\r\nJRE Path=new\r\n"},
      {u"[B]\r\ny=2", u"[B]\r\ny=2\r\n[A]\r\nJRE Path=new\r\n"},
  };
  for (const auto& c : writes) {
    EXPECT_EQ(toUtf8(profileTextWithValue(c.text, u"A", u"JRE Path", u"new")), toUtf8(c.expected)) << toUtf8(c.text);
  }
  EXPECT_EQ(toUtf8(*markedSettingsText("\xEF\xBB\xBF[A]\r\nk=\xC3\xBC\xFF")), "[A]\r\nk=\xC3\xBC\xEF\xBF\xBD");
  EXPECT_FALSE(markedSettingsText("[A]\r\nk=\xFC"));
}

}  // namespace
