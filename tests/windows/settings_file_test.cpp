#include <gtest/gtest.h>

#include <windows.h>
// After <windows.h>.
#include <psapi.h>

#include "file_tree/file_tree.h"
#include "settings/win32/layered_settings.h"
#include "test_files.h"

namespace {

String digits(size_t n) {
  String s;
  for (size_t i = 0; i < n; ++i) s += static_cast<char16_t>(u'0' + i % 10);
  return s;
}

TEST(IniSettingsFile, ReadsValuesAsUsersWriteThem) {
  const String folder = freshTempFolder("ini-read");
  const std::string long255 = toUtf8(digits(255)), long256 = toUtf8(digits(256)), long5000 = toUtf8(digits(5000));
  const std::string content = "[Java Runtime Environment]\r\n"
                              "Main Class =  com.shop.Main  \r\n"
                              "Quoted=\"C:\\Program Files\\Java\\\"\r\n"
                              "V255=" + long255 + "\r\nV256=" + long256 + "\r\nV5000=" + long5000 + "\r\n"
                              "[application]\r\nfailure check=Yes\r\n";
  writeAnsiFile(folder + u"\\ansi.ini", content);
  writeUtf16File(folder + u"\\unicode.ini", fromUtf8(content) + u"[Unicode]\r\nName=\u00e9\u4e2d\r\n");
  writeBytes(folder + u"\\utf8.ini", "\xEF\xBB\xBF" + content + "[Unicode]\r\nName=\xC3\xA9\xE4\xB8\xAD\r\n");
  // Deeper than the profile functions reach: read through the short path.
  String deep = folder;
  while (deep.size() < 300) deep += u"\\a-folder-of-an-installation-tree";
  createTree(std::wstring(deep.begin(), deep.end()));
  writeAnsiFile(deep + u"\\ansi.ini", content);
  const String deepFile = deep.substr(folder.size()) + u"\\ansi.ini";

  for (const String& file : {String(u"\\ansi.ini"), String(u"\\unicode.ini"), String(u"\\utf8.ini"), deepFile}) {
    SCOPED_TRACE(toUtf8(file));
    IniSettingsFile ini(folder + file);
    EXPECT_EQ(ini.getValue(u"Java Runtime Environment", u"Main Class"), u"com.shop.Main");
    EXPECT_EQ(ini.getValue(u"JAVA RUNTIME ENVIRONMENT", u"main class"), u"com.shop.Main");
    EXPECT_EQ(ini.getValue(u"Java Runtime Environment", u"Quoted"), u"C:\\Program Files\\Java\\");
    EXPECT_EQ(ini.getValue(u"Java Runtime Environment", u"V255"), digits(255));
    EXPECT_EQ(ini.getValue(u"Java Runtime Environment", u"V256"), digits(256));
    EXPECT_EQ(ini.getValue(u"Java Runtime Environment", u"V5000"), digits(5000));
    EXPECT_EQ(ini.getValue(u"Application", u"Failure Check"), u"Yes");
    EXPECT_EQ(ini.getValue(u"Application", u"Missing"), u"");
  }
  EXPECT_EQ(IniSettingsFile(folder + u"\\ansi.ini").getSectionNames(),
            (StringList{u"Java Runtime Environment", u"application"}));
  EXPECT_EQ(IniSettingsFile(folder + u"\\unicode.ini").getValue(u"Unicode", u"Name"), u"\u00e9\u4e2d");
  EXPECT_EQ(IniSettingsFile(folder + u"\\utf8.ini").getValue(u"Unicode", u"Name"), u"\u00e9\u4e2d");
  // Stored to, a UTF-8 file stays UTF-8 with its other lines as they were.
  ASSERT_TRUE(IniSettingsFile(folder + u"\\utf8.ini").setValue(u"Unicode", u"JRE Path", u"C:\\J\u00fcrgen"));
  IniSettingsFile stored(folder + u"\\utf8.ini");
  EXPECT_EQ(stored.getValue(u"Unicode", u"JRE Path"), u"C:\\J\u00fcrgen");
  EXPECT_EQ(stored.getValue(u"Unicode", u"Name"), u"\u00e9\u4e2d");
  EXPECT_EQ(stored.getValue(u"Java Runtime Environment", u"Main Class"), u"com.shop.Main");
  EXPECT_EQ(IniSettingsFile(folder + u"\\none.ini").getValue(u"A", u"B"), u"");
}

// A long value is read with room for itself, not for the whole file: many
// megabytes of other lines cost the reader nothing more (the platform keeps
// the file it read for the first value, so only the reader's own buffers
// count for the second).
TEST(IniSettingsFile, ALongValueNeedsRoomForItselfNotForTheFile) {
  const String path = freshTempFolder("ini-long") + u"\\big.ini";
  std::string content = "[A]\r\nShort=1\r\nV300=" + toUtf8(digits(300)) + "\r\n[Filler]\r\n";
  while (content.size() < 16 * 1024 * 1024) content += "; a line of filler that nobody reads\r\n";
  writeAnsiFile(path, content);
  IniSettingsFile ini(path);
  EXPECT_EQ(ini.getValue(u"A", u"Short"), u"1");
  PROCESS_MEMORY_COUNTERS before{};
  K32GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
  EXPECT_EQ(ini.getValue(u"A", u"V300"), digits(300));
  PROCESS_MEMORY_COUNTERS after{};
  K32GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);
  EXPECT_LT(after.PeakWorkingSetSize - before.PeakWorkingSetSize, 4u * 1024 * 1024);
}

TEST(IniSettingsFile, WritesReadsTheHeaderAndDeletes) {
  const String folder = freshTempFolder("ini-write");
  IniSettingsFile ini(folder + u"\\w.ini");
  uint8_t header[4];
  EXPECT_EQ(ini.readHeader(header), static_cast<uint32_t>(ERROR_FILE_NOT_FOUND));
  ASSERT_TRUE(ini.setValue(u"Java Runtime Environment", u"JRE Path", u"C:\\jre\\"));
  EXPECT_EQ(ini.getValue(u"Java Runtime Environment", u"JRE Path"), u"C:\\jre\\");
  EXPECT_EQ(ini.readHeader(header), 0u);
  EXPECT_TRUE(ini.deleteFile());
  EXPECT_FALSE(ini.deleteFile());
}

TEST(LayeredSettings, FileReplacesOrExtendsTheEmbeddedValue) {
  const String folder = freshTempFolder("layered");
  const String embedded = u"[Application]\r\nCmd=-embedded\r\nOther=e\r\n[Class Path]\r\nClass Path=a.jar";
  const struct {
    const char* name;
    std::string ini;
    const char16_t* section;
    const char16_t* key;
    const char16_t* expected;
  } cases[] = {
      {"embedded value alone", "", u"Application", u"Cmd", u"-embedded"},
      {"own section replaces it", "[Application]\r\nCmd=-own\r\n", u"Application", u"Cmd", u"-own"},
      {"empty own value does not count", "[Application]\r\nCmd=\r\n[Application+]\r\nCmd=-more\r\n", u"Application",
       u"Cmd", u"-embedded -more"},
      {"plus section appends after one blank", "[Class Path+]\r\nClass Path=b.jar\r\n", u"Class Path", u"Class Path",
       u"a.jar b.jar"},
      {"plus value alone gets a leading blank", "[Java Runtime Environment+]\r\nVirtual Machine Parameters=-Xmx1g\r\n",
       u"Java Runtime Environment", u"Virtual Machine Parameters", u" -Xmx1g"},
      {"own value hides the plus section", "[Application]\r\nOther=own\r\n[Application+]\r\nOther=more\r\n",
       u"Application", u"Other", u"own"},
      {"embedded lookups are case-sensitive", "", u"application", u"Cmd", u""},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    String path = folder + u"\\l" + fromUtf8(std::to_string(n++)) + u".ini";
    writeAnsiFile(path, c.ini);
    LayeredSettings settings(path, embedded);
    EXPECT_EQ(toUtf8(settings.getValue(c.section, c.key)), toUtf8(c.expected));
  }
}

}  // namespace
