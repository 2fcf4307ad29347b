#include <gtest/gtest.h>

#include "settings/embedded_settings_codec.h"
#include "settings/embedded_settings_table.h"

namespace {

std::string lookup(const EmbeddedSettingsTable& table, const char16_t* section, const char16_t* key) {
  String value = u"<none>";
  table.lookup(section, key, value);
  return toUtf8(value);
}

TEST(EmbeddedSettingsTable, ParsesIniStyleText) {
  const struct {
    const char* name;
    const char16_t* text;
    const char16_t* section;
    const char16_t* key;
    const char* expected;
  } cases[] = {
      {"bom, blanks around key and value", u"\ufeff[Application]\r\nCmd   =   -x", u"Application", u"Cmd", "-x"},
      {"value keeps further equals signs", u"[J]\r\nMain Class=a=b", u"J", u"Main Class", "a=b"},
      {"first of two equal keys wins", u"[J]\r\nk=1\r\nk=2", u"J", u"k", "1"},
      {"repeated header: only the first is found", u"[J]\r\na=1\r\n[J]\r\nb=2", u"J", u"b", "<none>"},
      {"lookups are case-sensitive", u"[J]\r\nmain class=x", u"J", u"Main Class", "<none>"},
      {"section names are case-sensitive", u"[j]\r\nk=1", u"J", u"k", "<none>"},
      {"LF alone does not end a line", u"[J]\nk=1", u"J", u"k", "<none>"},
      {"LF-only text that is one header", u"  [J\nk=1]  ", u"J\nk=1", u"k", "<none>"},
      {"key outside any section is skipped", u"k=1\r\n[J]\r\nm=2", u"J", u"k", "<none>"},
      {"header name keeps inner blanks", u"[ J ]\r\nk=1", u" J ", u"k", "1"},
      {"header with leading blanks and trailing tab", u"  [J]\t\r\nk=1", u"J", u"k", "1"},
      {"empty section name", u"[]\r\nk=1", u"", u"k", "1"},
      {"semicolon is no comment", u"[J]\r\n;k=1", u"J", u";k", "1"},
      {"line without equals is skipped", u"[J]\r\nnothing\r\nk=1", u"J", u"k", "1"},
      {"empty key is kept", u"[J]\r\n=v", u"J", u"", "v"},
      {"text after the bracket is no header", u"[J] x\r\nk=1", u"J", u"k", "<none>"},
  };
  for (const auto& c : cases) {
    EmbeddedSettingsTable table;
    table.loadFromText(c.text);
    EXPECT_EQ(lookup(table, c.section, c.key), c.expected) << c.name;
  }
}

TEST(EmbeddedSettingsTable, ReloadingClearsAndSetValueAppends) {
  EmbeddedSettingsTable table;
  table.loadFromText(u"[A]\r\nk=1\r\n[B]\r\n[A]");
  EXPECT_EQ(table.getSectionNames(), (StringList{u"A", u"B", u"A"}));
  table.setValue(u"A", u"k", u"2");
  table.setValue(u"C", u"k", u"3");
  EXPECT_EQ(lookup(table, u"A", u"k"), "1");
  EXPECT_EQ(lookup(table, u"C", u"k"), "3");
  table.loadFromText(u"");
  EXPECT_TRUE(table.getSectionNames().empty());
}

TEST(EmbeddedSettingsCodec, RoundTripsOnlyWithTheRightUpgradeCode) {
  const String text = u"[Java Runtime Environment]\r\nMain Class=com.shop.Main\r\n\u00e9\u4e2d\U0001F600";
  const String code = u"{8B6F1C2A-0D55-4C8E-9E7B-5A1F2E3D4C5B}";
  Bytes stored = encodeEmbeddedSettings(text, code);
  EXPECT_EQ(decodeEmbeddedSettings(stored.data(), stored.size(), code), text);
  EXPECT_EQ(decodeEmbeddedSettings(stored.data(), stored.size(), u"{other}"), u"");
  EXPECT_EQ(decodeEmbeddedSettings(stored.data(), stored.size(), u""), u"");

  // The text is not readable in the stored bytes.
  std::string raw(stored.begin(), stored.end());
  EXPECT_EQ(raw.find("M\0a\0i\0n", 0, 7), std::string::npos);

  Bytes padded = stored;
  padded.resize(padded.size() + 3, 0);
  EXPECT_EQ(decodeEmbeddedSettings(padded.data(), padded.size(), code), text) << "alignment padding";

  Bytes empty = encodeEmbeddedSettings(u"", u"");
  EXPECT_EQ(decodeEmbeddedSettings(empty.data(), empty.size(), u""), u"");
}

TEST(EmbeddedSettingsCodec, DamagedDataGivesTheEmptyText) {
  const String code = u"code";
  const Bytes good = encodeEmbeddedSettings(u"[A]\r\nk=v", code);
  std::vector<Bytes> damaged;
  for (size_t cut : {size_t{0}, size_t{3}, size_t{15}, size_t{16}, good.size() - 1}) {
    damaged.emplace_back(good.begin(), good.begin() + static_cast<long>(cut));
  }
  for (size_t at : {size_t{0}, size_t{4}, size_t{8}, size_t{12}, size_t{16}, good.size() - 1}) {
    Bytes flipped = good;
    flipped[at] ^= 0x40;
    damaged.push_back(flipped);
  }
  Bytes huge = good;
  huge[11] = 0x7F;  // claims far more text than there is
  damaged.push_back(huge);
  for (const Bytes& d : damaged) {
    EXPECT_EQ(decodeEmbeddedSettings(d.data(), d.size(), code), u"") << d.size();
  }
  EXPECT_EQ(decodeEmbeddedSettings(nullptr, 0, code), u"");
}

}  // namespace
