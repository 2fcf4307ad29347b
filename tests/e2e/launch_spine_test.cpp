// The launcher started as a user starts an application: under its own name,
// beside (or without) its INI file.
#include <gtest/gtest.h>

#include "app_folder.h"

namespace {

const wchar_t kNoMainClass[] = L"Main class was not specified in INI file.";

TEST(LaunchSpine, LauncherUnderTestIsThere) {
  ASSERT_FALSE(launcherUnderTest().empty()) << "LAUNCHER_EXE is not set";
  EXPECT_NE(GetFileAttributesW(launcherUnderTest().c_str()), INVALID_FILE_ATTRIBUTES);
}

// Every way of not naming a main class gives the same single message box.
TEST(LaunchSpine, MissingMainClassShowsOneErrorBoxAndEndsWithMinusOne) {
  const struct {
    const char* name;
    const char* ini;  // nullptr: no INI file at all
  } cases[] = {
      {"no INI", nullptr},
      {"empty INI", ""},
      {"key in another section", "[Application]\r\nMain Class=com.shop.Main\r\n"},
      {"empty value", "[Java Runtime Environment]\r\nMain Class=\r\n"},
      {"blank value", "[Java Runtime Environment]\r\nMain Class=   \r\n"},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    AppFolder folder(currentTestName() + std::to_wstring(n++));
    folder.installLauncher(L"Shop.exe");
    if (c.ini) folder.writeFile(L"Shop.ini", c.ini);
    robot::Outcome outcome = folder.run(L"Shop.exe", L"", {L"OK"});
    ASSERT_TRUE(outcome.started) << report(outcome);
    EXPECT_FALSE(outcome.timedOut) << report(outcome);
    EXPECT_EQ(outcome.exitCodeSigned(), -1) << report(outcome);
    std::vector<robot::Window> dialogs = outcome.dialogs();
    ASSERT_EQ(dialogs.size(), 1u) << report(outcome);
    EXPECT_TRUE(dialogs[0].expected);
    EXPECT_EQ(dialogs[0].staticText(), kNoMainClass) << report(outcome);
    EXPECT_EQ(dialogs[0].caption, L"Error");
    EXPECT_FALSE(dialogs[0].hasOwner);
    EXPECT_TRUE(dialogs[0].errorIcon);
  }
}

TEST(LaunchSpine, ExecutableWithoutADotInItsPathEndsSilentlyWithMinusOne) {
  AppFolder folder(L"C:\\e2e\\nodot");
  folder.installLauncher(L"Shop");
  robot::Outcome outcome = folder.run(L"Shop");
  ASSERT_TRUE(outcome.started) << report(outcome);
  EXPECT_EQ(outcome.exitCodeSigned(), -1) << report(outcome);
  EXPECT_TRUE(outcome.dialogs().empty()) << report(outcome);
}

TEST(LaunchSpine, ArgumentsDoNotChangeTheOutcomeOfAMissingMainClass) {
  AppFolder folder(currentTestName());
  folder.installLauncher(L"Shop.exe");
  robot::Outcome outcome = folder.run(L"Shop.exe", L"\"a file.txt\" -nosplash \"\"", {L"OK"});
  EXPECT_EQ(outcome.exitCodeSigned(), -1) << report(outcome);
  ASSERT_EQ(outcome.dialogs().size(), 1u) << report(outcome);
  EXPECT_EQ(outcome.dialogs()[0].staticText(), kNoMainClass);
}

}  // namespace
