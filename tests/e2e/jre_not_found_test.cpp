// No Java runtime anywhere: the launcher asks the user for one.
#include <gtest/gtest.h>

#include "app_folder.h"

namespace {

const robot::Control* control(const robot::Window& window, int id) {
  for (const robot::Control& c : window.controls) {
    if (c.id == id) return &c;
  }
  return nullptr;
}

TEST(JreNotFound, DialogSaysWhatIsNeededAndCancelEndsTheLaunch) {
  const std::string base = "[Java Runtime Environment]\r\nMain Class=com.shop.Main\r\n";
  const struct {
    const char* name;
    std::string extra;
    const wchar_t* press;
    const wchar_t* message;
  } cases[] = {
      {"any runtime, Cancel", "", L"Cancel",
       L"The Java Runtime Environment (JRE) was not found. Please  download and install a JRE (latest version) from:"},
      {"server VM and bounds, close box", "JVM Type=server\r\nMinimum Version=1.6\r\nMaximum Version=11\r\n", L"(close)",
       L"The Java Runtime Environment (JRE) was not found. Please  download and install a JRE with a server JVM "
       L"(version between 1.6 and 11.0) from:"},
      {"exact version, Cancel", "Minimum Version=1.8.0.231\r\nMaximum Version=1.8.0.231\r\n", L"Cancel",
       L"The Java Runtime Environment (JRE) was not found. Please  download and install a JRE (version 1.8.0.231 is "
       L"required) from:"},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    AppFolder folder(currentTestName() + std::to_wstring(n++));
    folder.installLauncher(L"Shop.exe");
    folder.writeFile(L"Shop.ini", base + c.extra);
    robot::Outcome outcome = folder.run(L"Shop.exe", L"", {c.press});
    EXPECT_FALSE(outcome.timedOut) << report(outcome);
    EXPECT_EQ(outcome.exitCodeSigned(), -1) << report(outcome);
    auto dialogs = outcome.dialogs();
    ASSERT_EQ(dialogs.size(), 1u) << report(outcome);
    const robot::Window& dialog = dialogs[0];
    EXPECT_EQ(dialog.caption, L"JRE Not Found");
    EXPECT_TRUE(dialog.errorIcon) << report(outcome);
    ASSERT_NE(control(dialog, 203), nullptr);
    EXPECT_EQ(control(dialog, 203)->text, c.message);
    ASSERT_NE(control(dialog, 1), nullptr);
    EXPECT_FALSE(control(dialog, 1)->enabled) << "OK waits for a folder with a jvm.dll";
    EXPECT_EQ(control(dialog, 201)->text, L"") << "the folder field starts empty";
    EXPECT_TRUE(control(dialog, 202)->enabled);
    wchar_t persisted[16] = L"";
    GetPrivateProfileStringW(L"Java Runtime Environment", L"JRE Path", L"", persisted, 16,
                             (folder.path() + L"\\Shop.ini").c_str());
    EXPECT_STREQ(persisted, L"") << "a cancelled dialog remembers nothing";
  }
}

}  // namespace
