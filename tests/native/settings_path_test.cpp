#include "settings/settings_path.h"

#include <gtest/gtest.h>

#include "common/path_components.h"

namespace {

TEST(SettingsPathForModule, ReplacesEverythingAfterTheLastDot) {
  const std::pair<const char16_t*, const char16_t*> cases[] = {
      {u"C:\\Apps\\Shop.exe", u"C:\\Apps\\Shop.ini"},
      {u"C:\\Apps\\Shop.beta.exe", u"C:\\Apps\\Shop.beta.ini"},
      {u"C:\\my.apps\\Shop", u"C:\\my.ini"},  // the last dot of the whole path
      {u"Shop.", u"Shop.ini"},
  };
  for (const auto& [module, expected] : cases) {
    String path;
    ASSERT_TRUE(settingsPathForModule(module, path)) << toUtf8(module);
    EXPECT_EQ(toUtf8(path), toUtf8(expected));
  }
}

TEST(SettingsPathForModule, FailsWithoutADot) {
  String path = u"unchanged";
  EXPECT_FALSE(settingsPathForModule(u"C:\\Apps\\Shop", path));
  EXPECT_FALSE(settingsPathForModule(u"", path));
}

TEST(FolderOfPath, KeepsTheLastBackslash) {
  EXPECT_EQ(folderOfPath(u"C:\\Apps\\Shop.exe"), u"C:\\Apps\\");
  EXPECT_EQ(folderOfPath(u"C:\\Shop.exe"), u"C:\\");
  EXPECT_EQ(folderOfPath(u"Shop.exe"), u"Shop.exe");
}

}  // namespace
