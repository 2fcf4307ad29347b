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

// Either separator ends a folder, as the system reads paths.
TEST(PathHelpers, FolderFileNameAndExtension) {
  const struct {
    const char16_t* path;
    const char16_t* parent;
    const char16_t* folderWithSeparator;
    const char16_t* folderOrCurrent;
    const char16_t* baseName;
  } cases[] = {
      {u"C:\\Apps\\Shop.exe", u"C:\\Apps", u"C:\\Apps\\", u"C:\\Apps", u"Shop"},
      {u"C:\\Shop.exe", u"C:", u"C:\\", u"C:", u"Shop"},
      {u"Shop.exe", u"", u"Shop.exe", u".", u"Shop"},
      {u"out/My.App.exe", u"out", u"out/", u"out", u"My.App"},
      {u"C:\\v1.2\\Shop", u"C:\\v1.2", u"C:\\v1.2\\", u"C:\\v1.2", u"Shop"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(toUtf8(c.path));
    EXPECT_EQ(parentFolder(c.path), c.parent);
    EXPECT_EQ(folderOfPath(c.path), c.folderWithSeparator);
    EXPECT_EQ(folderOrCurrent(c.path), c.folderOrCurrent);
    EXPECT_EQ(withoutExtension(fileNameOf(c.path)), c.baseName);
  }
  EXPECT_TRUE(isAbsolutePath(u"C:x.jar") && isAbsolutePath(u"\\\\srv\\s") && !isAbsolutePath(u"\\lib\\a.jar"));
}

}  // namespace
