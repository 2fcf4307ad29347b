// The settings loader over real INI files beside the test executable.
#include <gtest/gtest.h>

#include "common/win_text.h"
#include "launcher/launch_steps.h"
#include "launcher/launcher_app.h"
#include "robot/robot.h"
#include "settings/ini_settings_file.h"
#include "settings/per_user_settings.h"
#include "test_files.h"

namespace {

const std::string kMain = "[Java Runtime Environment]\r\nMain Class=com.shop.app.Main\r\n";

// Loads the settings from an INI with the given extra lines.
bool load(LauncherApp& app, const std::string& ini) {
  writeAnsiFile(ownSettingsFile(), ini);
  return loadLauncherSettings(app);
}

struct Flags {
  bool favor, jdk, jre;
  bool operator==(const Flags&) const = default;
};

TEST(SettingsLoader, EnumeratedKeysFollowTheirSpellingRules) {
  const struct {
    const char* jvmSource;
    Flags expected;
  } sources[] = {
      {nullptr, {true, true, true}},      {"favor_JRE", {true, false, true}}, {"favor_JDK", {true, true, false}},
      {"only_JDK", {false, true, false}}, {"only_JRE", {false, false, true}}, {"JDK", {false, false, false}},
      {"FAVOR_JRE", {false, false, false}},
  };
  for (const auto& c : sources) {
    LauncherApp app;
    ASSERT_TRUE(load(app, kMain + (c.jvmSource ? std::string("JVM Source=") + c.jvmSource + "\r\n" : "")));
    EXPECT_EQ((Flags{app.runtime.jvmSourceFavor, app.runtime.allowJdk, app.runtime.allowJre}), c.expected) << (c.jvmSource ? c.jvmSource : "-");
  }

  using Six = std::array<bool, 6>;  // allow/favor JRockit, Sun, IBM
  const struct {
    const char* provider;
    Six expected;
  } providers[] = {
      {"", {false, false, true, true, false, false}},
      {"jrockit", {true, true, false, false, false, false}},
      {"IBM", {false, false, false, false, true, true}},
      {"favor_sun", {true, false, true, true, true, false}},
      {"Favor_JRockit", {true, true, true, false, true, false}},
      {"FAVOR_IBM", {true, false, true, false, true, true}},
      {"Any", {true, false, true, false, true, false}},
      {"sun", {false, false, true, true, false, false}},
  };
  for (const auto& c : providers) {
    LauncherApp app;
    ASSERT_TRUE(load(app, kMain + "VM Provider=" + c.provider + "\r\n"));
    EXPECT_EQ((Six{app.runtime.allowJRockit, app.runtime.favorJRockit, app.runtime.allowSun, app.runtime.favorSun, app.runtime.allowIbm, app.runtime.favorIbm}),
              c.expected)
        << c.provider;
  }

  const std::pair<const char*, JvmType> types[] = {{"server", JvmType::Server},
                                                  {"favor_server", JvmType::FavorServer},
                                                  {"Server", JvmType::Default},
                                                  {"client", JvmType::Default},
                                                  {"", JvmType::Default}};
  for (const auto& [value, expected] : types) {
    LauncherApp app;
    ASSERT_TRUE(load(app, kMain + "JVM Type=" + value + "\r\n"));
    EXPECT_EQ(app.runtime.jvmType, expected) << value;
  }
}

TEST(SettingsLoader, ReadsEveryPlainKey) {
  LauncherApp app;
  ASSERT_TRUE(load(app,
                   "[Product Information]\r\nProduct Name=Shop\r\nProduct Code=P-1\r\nUpgrade Code=U-1\r\n"
                   "[Java Runtime Environment]\r\nMain Class=com.shop.app.Main\r\nPreferred versions=1.8;;11\r\n"
                   "System Path=%WINDIR%\\x\r\nLibrary Path=lib\r\nJRE Path=C:\\jre\r\n"
                   "[Application]\r\nApplication Type=Service\r\nFailure Check=yes\r\nOverride WorkingDir=YES\r\n"
                   "Pair Product=Shop64.exe\r\nPair Return Code=Yes\r\n"));
  EXPECT_EQ(app.productName, u"Shop");
  EXPECT_EQ(app.productCode, u"P-1");
  EXPECT_EQ(app.upgradeCode, u"U-1");
  EXPECT_EQ(app.mainClass, u"com/shop/app/Main");
  EXPECT_EQ(app.runtime.preferredVersions, (StringList{u"1.8", u"", u"11"}));
  EXPECT_EQ(app.systemPath, u"%WINDIR%\\x");  // not expanded here
  EXPECT_EQ(app.libraryPath, u"lib");
  EXPECT_FALSE(app.serviceMode) << "only \"service\" in lower case";
  EXPECT_TRUE(app.failureCheck);
  EXPECT_TRUE(app.overrideWorkingDir);
  EXPECT_EQ(app.pairProduct, u"Shop64.exe");
  EXPECT_TRUE(app.pairReturnCode);
  EXPECT_EQ(app.runtime.minVersion.partCount, 0);
  EXPECT_EQ(app.runtime.maxVersion.partCount, 0);
}

TEST(SettingsLoader, AnyVersionBoundsAreTheWidestOnes) {
  LauncherApp app;
  ASSERT_TRUE(load(app, kMain + "Minimum Version=any\r\nMaximum Version=any\r\n"));
  EXPECT_EQ(app.runtime.minVersion.partCount, 4);
  EXPECT_EQ(app.runtime.minVersion.parts[3], 0);
  EXPECT_EQ(app.runtime.maxVersion.partCount, 4);
  EXPECT_EQ(app.runtime.maxVersion.parts[0], 65535);

  LauncherApp written;
  ASSERT_TRUE(load(written, kMain + "Minimum Version=1.6\r\nMaximum Version=1.8\r\n"));
  EXPECT_EQ(formatVersion(written.runtime.minVersion), u"1.6");
  EXPECT_EQ(written.runtime.minVersion.parts[3], 0);
  EXPECT_EQ(written.runtime.maxVersion.parts[2], 65535) << "the maximum is filled with 65535";

  LauncherApp capitalised;
  ASSERT_TRUE(load(capitalised, kMain + "Minimum Version=Any\r\n"));
  EXPECT_EQ(capitalised.runtime.minVersion.partCount, 0) << "only \"any\" in lower case means any";
}

TEST(SettingsLoader, MissingMainClassIsReportedAndStopsTheLoad) {
  LauncherApp app;
  robot::InProcessWatcher watcher({L"OK"});
  EXPECT_FALSE(load(app, "[Application]\r\nFailure Check=Yes\r\n"));
  std::vector<robot::Window> seen = watcher.stop();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].staticText(), L"Main class was not specified in INI file.");
  EXPECT_FALSE(app.failureCheck) << "keys after the main class are not read";
}

// The per-user file under APPDATA, with APPDATA pointed at a test folder.
class PerUserSettings : public testing::Test {
 protected:
  void SetUp() override {
    wchar_t original[32768];
    DWORD length = GetEnvironmentVariableW(L"APPDATA", original, 32768);
    original_ = fromWide(original, length);
    appData_ = freshTempFolder("appdata");
    SetEnvironmentVariableW(L"APPDATA", wide(appData_));
  }
  void TearDown() override { SetEnvironmentVariableW(L"APPDATA", wide(original_)); }

  String original_;
  String appData_;
  const std::string product_ = "[Product Information]\r\nProduct Name=A/B: Tools?\r\nProduct Code=P1\r\n";
};

TEST_F(PerUserSettings, RememberedPathWinsEvenWhenEmpty) {
  LauncherApp probe;
  probe.productName = u"A/B: Tools?";
  probe.productCode = u"P1";
  String perUser = launcherPerUserSettingsPath(probe.product(), true);
  EXPECT_EQ(perUser, appData_ + u"\\AB Tools\\P1\\windows_tests.ini");

  const std::string ini = product_ + kMain + "JRE Path=C:\\from-ini\r\n";
  {
    LauncherApp app;
    ASSERT_TRUE(load(app, ini));
    EXPECT_EQ(app.jrePath, u"C:\\from-ini") << "no per-user file yet";
  }
  writeAnsiFile(perUser, "[Java Runtime Environment]\r\nJRE Path=C:\\remembered\\\r\n");
  {
    LauncherApp app;
    ASSERT_TRUE(load(app, ini));
    EXPECT_EQ(app.jrePath, u"C:\\remembered\\");
  }
  writeAnsiFile(perUser, "[Other]\r\n");
  {
    LauncherApp app;
    ASSERT_TRUE(load(app, ini));
    EXPECT_EQ(app.jrePath, u"") << "an existing per-user file without the key";
  }
  {
    LauncherApp app;
    ASSERT_TRUE(load(app, ini + "[Application]\r\nApplication Type=service\r\n"));
    EXPECT_TRUE(app.serviceMode);
    EXPECT_EQ(app.jrePath, u"C:\\from-ini") << "service mode reads the settings file";
  }
}

TEST_F(PerUserSettings, PersistingGoesToPerUserFilesOrToTheSettingsFiles) {
  const String folder = freshTempFolder("persist");
  LauncherApp app;
  app.productName = u"Shop";
  app.productCode = u"";
  app.pairProduct = folder + u"\\Shop64.exe";
  writeAnsiFile(ownSettingsFile(), kMain);
  persistChosenRuntime(app, u"C:\\picked\\");
  EXPECT_EQ(IniSettingsFile(appData_ + u"\\Shop\\\\windows_tests.ini").getValue(u"Java Runtime Environment", u"JRE Path"),
            u"C:\\picked\\");
  EXPECT_EQ(IniSettingsFile(appData_ + u"\\Shop\\\\Shop64.ini").getValue(u"Java Runtime Environment", u"JRE Path"),
            u"C:\\picked\\");
  EXPECT_EQ(IniSettingsFile(ownSettingsFile()).getValue(u"Java Runtime Environment", u"JRE Path"), u"");

  app.serviceMode = true;
  SetEnvironmentVariableW(L"APPDATA", wide(folder + u"\\untouched"));
  persistChosenRuntime(app, u"C:\\service\\");
  EXPECT_EQ(IniSettingsFile(ownSettingsFile()).getValue(u"Java Runtime Environment", u"JRE Path"), u"C:\\service\\");
  EXPECT_EQ(IniSettingsFile(folder + u"\\Shop64.ini").getValue(u"Java Runtime Environment", u"JRE Path"), u"C:\\service\\");
  EXPECT_EQ(GetFileAttributesW(wide(folder + u"\\untouched")), INVALID_FILE_ATTRIBUTES);
}

TEST_F(PerUserSettings, LongAppDataIsReadWhole) {
  String longAppData = appData_;
  while (longAppData.size() < 300) longAppData += u"\\deeper";
  SetEnvironmentVariableW(L"APPDATA", wide(longAppData));
  LauncherApp app;
  app.productName = u"Shop";
  app.productCode = u"P";
  EXPECT_EQ(launcherPerUserSettingsPath(app.product(), false), longAppData + u"\\Shop\\P\\windows_tests.ini");
}

}  // namespace
