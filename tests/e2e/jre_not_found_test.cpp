// No Java runtime anywhere: the launcher asks the user for one.
#include <gtest/gtest.h>

#include "app_folder.h"
#include "java_app.h"
#include "file_tree/file_tree.h"

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
       L"(version between 1.6 and 11) from:"},
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
    if (getenv("ARTIFACTS_DIR")) {
      EXPECT_NE(dialog.screenshot, L"") << "a picture of the dialog is kept";
    }
    wchar_t persisted[16] = L"";
    GetPrivateProfileStringW(L"Java Runtime Environment", L"JRE Path", L"", persisted, 16,
                             (folder.path() + L"\\Shop.ini").c_str());
    EXPECT_STREQ(persisted, L"") << "a cancelled dialog remembers nothing";
  }
}

// A runtime folder of the test layout with the test runtime's jvm.dll in the
// given VM folder.
void makeRuntime(const std::wstring& home, const wchar_t* vmFolder) {
  createTree(home + L"\\bin\\" + vmFolder);
  ASSERT_TRUE(CopyFileW((testRuntime() + L"\\bin\\server\\jvm.dll").c_str(),
                        (home + L"\\bin\\" + vmFolder + L"\\jvm.dll").c_str(), FALSE));
  CopyFileW((testRuntime() + L"\\bin\\java.dll").c_str(), (home + L"\\bin\\java.dll").c_str(), FALSE);
}

std::wstring readJrePath(const std::wstring& file) {
  wchar_t value[512] = L"";
  GetPrivateProfileStringW(L"Java Runtime Environment", L"JRE Path", L"", value, 512, file.c_str());
  return value;
}

std::wstring appData() {
  wchar_t value[MAX_PATH] = L"";
  GetEnvironmentVariableW(L"APPDATA", value, MAX_PATH);
  return value;
}

// Browse is driven through the system folder picker: each pick shows the
// folder in the field and enables OK only for a folder with a fitting jvm.dll.
TEST(JreNotFound, BrowsingEnablesOkOnlyForARuntimeFolder) {
  const struct {
    const char* name;
    const char* jvmType;
    const wchar_t* vmFolder;
    std::vector<const wchar_t*> picks;  // below the runtime's home; "" is the home itself
    std::vector<bool> okAfterPick;
  } cases[] = {
      {"home enables, its bin folder does not", "", L"server", {L"\\bin", L"", L"\\bin"}, {false, true, false}},
      {"server VM needed, client only", "server", L"client", {L""}, {false}},
      {"server VM needed and there", "server", L"server", {L""}, {true}},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    AppFolder folder(currentTestName() + std::to_wstring(n++));
    const std::wstring home = folder.path() + L"\\rt";
    makeRuntime(home, c.vmFolder);
    folder.installLauncher(L"Shop.exe");
    folder.writeFile(L"Shop.ini", std::string("[Java Runtime Environment]\r\nMain Class=com.shop.Main\r\nJVM Type=") +
                                      c.jvmType + "\r\n");
    std::vector<std::wstring> presses;
    for (const wchar_t* pick : c.picks) {
      presses.push_back(L"Browse...");
      presses.push_back(L"pick:" + home + pick);
    }
    presses.push_back(L"Cancel");
    robot::Outcome outcome = folder.run(L"Shop.exe", L"", presses);
    EXPECT_EQ(outcome.exitCodeSigned(), -1) << report(outcome);
    EXPECT_EQ(outcome.unexpectedCount(), 0) << report(outcome);

    auto dialogs = outcome.dialogs();
    ASSERT_EQ(dialogs.size(), 1 + 2 * c.picks.size()) << report(outcome);
    for (size_t i = 0; i < c.picks.size(); ++i) {
      const robot::Window& after = dialogs[2 + 2 * i];
      EXPECT_EQ(after.caption, L"JRE Not Found");
      EXPECT_EQ(control(after, 201)->text, home + c.picks[i]) << "pick " << i;
      EXPECT_EQ(control(after, 1)->enabled, c.okAfterPick[i]) << "pick " << i << "\n" << report(outcome);
    }
  }
}

// OK after a successful pick: the folder is remembered in the per-user file
// (with a trailing backslash) and the next launch goes straight to it.
TEST(JreNotFound, ThePickedRuntimeIsRememberedForTheNextLaunch) {
  JavaApp app(currentTestName());
  const std::wstring home = app.path() + L"\\rt";
  makeRuntime(home, L"server");
  app.writeIni("[Java Runtime Environment]\r\nMain Class=com.example.App\r\n[Class Path]\r\nClass Path=C:\\x.jar\r\n"
               "[Product Information]\r\nProduct Name=E2E: Shop/Tools?\r\nProduct Code=remembered-pick\r\n");
  const std::wstring productFolder = appData() + L"\\E2E ShopTools";
  removeTree(productFolder);

  robot::Outcome first = app.launch(L"", {L"Browse...", L"pick:" + home, L"OK"});
  ASSERT_EQ(first.dialogs().size(), 3u) << report(first);
  EXPECT_EQ(first.unexpectedCount(), 0) << report(first);
  EXPECT_EQ(first.exitCodeSigned(), 0) << "the picked runtime runs the application\n" << report(first);
  EXPECT_EQ(readJrePath(productFolder + L"\\remembered-pick\\Shop.ini"), home + L"\\");
  EXPECT_EQ(readJrePath(app.path() + L"\\Shop.ini"), L"") << "outside service mode the INI stays as shipped";

  robot::Outcome second = app.launch();
  EXPECT_EQ(second.dialogs().size(), 0u) << report(second);
  EXPECT_EQ(second.exitCodeSigned(), 0) << report(second);
  EXPECT_EQ(app.journal("env-QL_JVM_PATH"), std::vector<std::string>{narrow(home) + "\\bin\\server\\jvm.dll"});
  removeTree(productFolder);
}

// In service mode the pick goes into the INI beside the executable, and into
// the paired product's INI beside it when "Pair Product" is a bare name.
TEST(JreNotFound, AServicePickGoesIntoItsOwnAndItsPairedProductsIni) {
  JavaApp app(currentTestName());
  const std::wstring home = app.path() + L"\\rt";
  makeRuntime(home, L"server");
  const std::string settings = "[Java Runtime Environment]\r\nMain Class=com.example.App\r\n[Class Path]\r\n"
                               "Class Path=C:\\x.jar\r\n[Application]\r\nApplication Type=service\r\n";
  app.writeIni(settings + "Pair Product=Shop64.exe\r\n");
  app.folder().writeFile(L"Shop64.ini", settings);
  robot::Outcome outcome = app.launch(L"", {L"Browse...", L"pick:" + home, L"OK"});
  EXPECT_EQ(outcome.exitCodeSigned(), 0) << report(outcome);
  EXPECT_EQ(readJrePath(app.path() + L"\\Shop.ini"), home + L"\\");
  EXPECT_EQ(readJrePath(app.path() + L"\\Shop64.ini"), home + L"\\");
}

}  // namespace
