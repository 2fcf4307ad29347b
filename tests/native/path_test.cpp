#include <gtest/gtest.h>

#include "common/path_components.h"
#include "settings/per_user_path.h"

namespace {

std::vector<std::string> utf8(const StringList& list) {
  std::vector<std::string> out;
  for (const String& s : list) out.push_back(toUtf8(s));
  return out;
}

TEST(SplitPathComponents, SeparatesRootAndComponents) {
  using Parts = std::vector<std::string>;
  const std::pair<const char16_t*, Parts> cases[] = {
      {u"C:\\logs\\app\\out.txt", {"C:", "logs", "app", "out.txt"}},
      {u"\\\\server\\share\\dir\\f.txt", {"\\\\server", "share", "dir", "f.txt"}},
      {u"\\\\?\\UNC\\server\\share\\f.txt", {"\\\\?\\UNC\\server", "share", "f.txt"}},
      {u"\\\\?\\C:\\a\\b.txt", {"\\\\?\\C:", "a", "b.txt"}},
      {u"\\dir\\f", {"dir", "f"}},
      {u"C:\\a\\\\b", {"C:", "a", "", "b"}},
      {u"C:\\a\\", {"C:", "a"}},
      {u"name.txt", {"name.txt"}},
      {u"", {}},
  };
  for (const auto& [path, expected] : cases) {
    EXPECT_EQ(utf8(splitPathComponents(path)), expected) << toUtf8(path);
  }
}

TEST(LongPathPrefix, AddedOnlyToLongPathsWithoutOne) {
  String local = u"C:\\" + String(300, u'a');
  String network = u"\\\\server\\" + String(300, u'b');
  EXPECT_EQ(withLongPathPrefix(u"C:\\short"), u"C:\\short");
  EXPECT_EQ(withLongPathPrefix(local), u"\\\\?\\" + local);
  EXPECT_EQ(withLongPathPrefix(u"\\\\?\\" + local), u"\\\\?\\" + local);
  EXPECT_EQ(withLongPathPrefix(network), u"\\\\?\\UNC\\server\\" + String(300, u'b'));
  EXPECT_EQ(withLongPathPrefix(u"\\\\?\\UNC\\server\\" + String(300, u'b')), u"\\\\?\\UNC\\server\\" + String(300, u'b'));
  EXPECT_TRUE(hasLongPathPrefix(u"\\\\?\\x"));
  EXPECT_FALSE(hasLongPathPrefix(u"\\\\.\\x"));
}

TEST(PerUserPath, SanitisesTheProductNameAndKeepsEveryBackslash) {
  const struct {
    const char16_t *appData, *name, *code, *exe, *expected;
  } cases[] = {
      {u"C:\\Users\\u\\AppData\\Roaming", u"A/B: Tools?", u"P1", u"C:\\Apps\\Shop.exe",
       u"C:\\Users\\u\\AppData\\Roaming\\AB Tools\\P1\\Shop.ini"},
      {u"R", u"\\?\"|><:/*", u"", u"Shop.beta.exe", u"R\\\\\\Shop.beta.ini"},
      {u"", u"Shop", u"P", u"C:\\x.y\\tool", u"\\Shop\\P\\tool.ini"},
      {u"R", u" Shop ", u"{C0DE}", u"C:\\a/b\\c.exe", u"R\\ Shop \\{C0DE}\\c.ini"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(toUtf8(perUserPathFor(c.appData, c.name, c.code, c.exe).file), toUtf8(c.expected));
  }
  PerUserPath p = perUserPathFor(u"R", u"Shop", u"", u"S.exe");
  EXPECT_EQ(p.productFolder, u"R\\Shop");
  EXPECT_EQ(p.codeFolder, u"R\\Shop\\");
}

}  // namespace
