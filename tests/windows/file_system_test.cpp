#include "common/win32/file_system.h"

#include <gtest/gtest.h>

#include "common/win32/win_text.h"
#include "test_files.h"

namespace {

bool isFolder(const String& path) {
  String target = path.size() < 260 ? path : u"\\\\?\\" + path;
  DWORD attributes = GetFileAttributesW(wide(target));
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(CreateParentFolders, CreatesOnlyTheMissingFolders) {
  const String root = freshTempFolder("parents");
  EXPECT_EQ(createParentFolders(root + u"\\a\\b\\c.txt"), 0u);
  EXPECT_TRUE(isFolder(root + u"\\a\\b"));
  EXPECT_FALSE(isFolder(root + u"\\a\\b\\c.txt")) << "the file name is never a folder";
  EXPECT_EQ(createParentFolders(root + u"\\a\\b\\c.txt"), 0u) << "everything exists already";
  EXPECT_EQ(createParentFolders(u"C:\\x.txt"), 0u);

  String deep = root;
  while (deep.size() < 320) deep += u"\\0123456789abcdef";
  EXPECT_EQ(createParentFolders(deep + u"\\out.log"), 0u);
  EXPECT_TRUE(isFolder(deep));
}

TEST(CreateParentFolders, CreatesRelativePathsBelowTheCurrentDirectory) {
  const String root = freshTempFolder("relative");
  wchar_t previous[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, previous);
  SetCurrentDirectoryW(wide(root));
  EXPECT_EQ(createParentFolders(u"logs\\today\\out.txt"), 0u);
  // Rooted on the current drive: made there, not below the current directory.
  EXPECT_EQ(createParentFolders(root.substr(2) + u"\\rooted\\sub\\out.txt"), 0u);
  SetCurrentDirectoryW(previous);
  EXPECT_TRUE(isFolder(root + u"\\logs\\today"));
  EXPECT_TRUE(isFolder(root + u"\\rooted\\sub"));
  EXPECT_FALSE(isFolder(root + root.substr(2)));
}

TEST(CreateParentFolders, ReportsALevelThatCannotBeMade) {
  const String root = freshTempFolder("blocked");
  writeAnsiFile(root + u"\\file", "in the way");
  uint32_t error = createParentFolders(root + u"\\file\\sub\\x.txt");
  EXPECT_NE(error, 0u);
  EXPECT_FALSE(isFolder(root + u"\\file\\sub"));

  // What was there before stays, empty or not; only what the call made goes.
  CreateDirectoryW(wide(root + u"\\existing"), nullptr);
  EXPECT_NE(createParentFolders(root + u"\\existing\\bad<name\\x.txt"), 0u);
  EXPECT_TRUE(isFolder(root + u"\\existing"));
  EXPECT_NE(createParentFolders(root + u"\\made\\bad<name\\x.txt"), 0u);
  EXPECT_FALSE(isFolder(root + u"\\made"));
}

TEST(FileFinder, FindsShortAndLongPathsAndNamesTheFolder) {
  const String root = freshTempFolder("finder");
  String deep = root;
  while (deep.size() < 300) deep += u"\\abcdefghij";
  createParentFolders(deep + u"\\x");
  writeAnsiFile(root + u"\\here.ini", "");
  CreateFileW(wide(u"\\\\?\\" + deep + u"\\far.ini"), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);

  FileFinder finder;
  String shortPath = root + u"\\here.ini";
  ASSERT_TRUE(finder.findFirst(&shortPath));
  EXPECT_TRUE(finder.found());
  EXPECT_EQ(finder.folder(), root);

  String longPath = deep + u"\\far.ini";
  ASSERT_TRUE(finder.findFirst(&longPath));
  EXPECT_EQ(finder.folder(), u"\\\\?\\" + deep);

  String missing = root + u"\\missing.ini";
  EXPECT_FALSE(finder.findFirst(&missing));
  EXPECT_FALSE(finder.found());
  EXPECT_TRUE(finder.folder().empty());

  String tooLong(32767, u'a');
  EXPECT_FALSE(finder.findFirst(&tooLong));
}

TEST(PathExists, TestsOnlyDriveAndNetworkPaths) {
  const String root = freshTempFolder("exists");
  writeAnsiFile(root + u"\\f.txt", "");
  EXPECT_TRUE(pathExists(root + u"\\f.txt"));
  EXPECT_FALSE(pathExists(root + u"\\g.txt"));
  EXPECT_FALSE(pathExists(u"f.txt"));
  EXPECT_FALSE(pathExists(u"C"));
  EXPECT_TRUE(fileOrFolderExists(root + u"\\*.txt"));
}

}  // namespace
