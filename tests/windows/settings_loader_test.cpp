// The settings readers over real INI files beside the test executable.
#include <gtest/gtest.h>

#include "common/win32/win_text.h"
#include "jre/runtime_filter.h"
#include "settings/win32/ini_settings_file.h"
#include "settings/launch_settings.h"
#include "settings/win32/per_user_settings.h"
#include "test_files.h"

namespace {

const std::string kMain = "[Java Runtime Environment]\r\nMain Class=com.shop.app.Main\r\n";

// What a launch reads from an INI with the given lines.
struct Loaded {
  LaunchSettings settings;
  RuntimeFilter runtime;
  String jrePath;
};

Loaded load(const std::string& ini) {
  writeAnsiFile(ownSettingsFile(), ini);
  IniSettingsFile file(ownSettingsFile());
  Loaded loaded;
  readFileSettings(file, loaded.settings);
  readLayeredSettings(file, loaded.settings);
  loaded.runtime = readRuntimeFilter(file);
  loaded.jrePath = configuredJrePath(file, loaded.settings.product(), ownPaths().module, loaded.settings.serviceMode);
  return loaded;
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
    const Loaded app = load(kMain + (c.jvmSource ? std::string("JVM Source=") + c.jvmSource + "\r\n" : ""));
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
    const Loaded app = load(kMain + "VM Provider=" + c.provider + "\r\n");
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
    const Loaded app = load(kMain + "JVM Type=" + value + "\r\n");
    EXPECT_EQ(app.runtime.jvmType, expected) << value;
  }
}

TEST(SettingsLoader, ReadsEveryPlainKey) {
  const Loaded app = load(
                   "[Product Information]\r\nProduct Name=Shop\r\nProduct Code=P-1\r\nUpgrade Code=U-1\r\n"
                   "[Java Runtime Environment]\r\nMain Class=com.shop.app.Main\r\nPreferred versions=1.8;;11\r\n"
                   "System Path=%WINDIR%\\x\r\nLibrary Path=lib\r\nJRE Path=C:\\jre\r\n"
                   "[Application]\r\nApplication Type=Service\r\nFailure Check=yes\r\nOverride WorkingDir=YES\r\n"
                   "Pair Product=Shop64.exe\r\nPair Return Code=Yes\r\n");
  EXPECT_EQ(app.settings.productName, u"Shop");
  EXPECT_EQ(app.settings.productCode, u"P-1");
  EXPECT_EQ(app.settings.upgradeCode, u"U-1");
  EXPECT_EQ(app.settings.mainClass, u"com.shop.app.Main");
  EXPECT_EQ(app.runtime.preferredVersions, (StringList{u"1.8", u"", u"11"}));
  EXPECT_EQ(app.settings.systemPath, u"%WINDIR%\\x");  // not expanded here
  EXPECT_EQ(app.settings.libraryPath, u"lib");
  EXPECT_FALSE(app.settings.serviceMode) << "only \"service\" in lower case";
  EXPECT_TRUE(app.settings.failureCheck);
  EXPECT_TRUE(app.settings.overrideWorkingDir);
  EXPECT_EQ(app.settings.pairProduct, u"Shop64.exe");
  EXPECT_TRUE(app.settings.pairReturnCode);
  EXPECT_EQ(app.runtime.minVersion.partCount, 0);
  EXPECT_EQ(app.runtime.maxVersion.partCount, 0);
}

TEST(SettingsLoader, AnyVersionBoundsAreTheWidestOnes) {
  const Loaded app = load(kMain + "Minimum Version=any\r\nMaximum Version=any\r\n");
  EXPECT_EQ(app.runtime.minVersion.partCount, 4);
  EXPECT_EQ(app.runtime.minVersion.parts[3], 0);
  EXPECT_EQ(app.runtime.maxVersion.partCount, 4);
  EXPECT_EQ(app.runtime.maxVersion.parts[0], 65535);

  const Loaded written = load(kMain + "Minimum Version=1.6\r\nMaximum Version=1.8\r\n");
  EXPECT_EQ(formatVersion(written.runtime.minVersion), u"1.6");
  EXPECT_EQ(written.runtime.minVersion.parts[3], 0);
  EXPECT_EQ(written.runtime.maxVersion.parts[2], 65535) << "the maximum is filled with 65535";

  const Loaded capitalised = load(kMain + "Minimum Version=Any\r\n");
  EXPECT_EQ(capitalised.runtime.minVersion.partCount, 0) << "only \"any\" in lower case means any";
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
  String perUser = perUserSettingsPath({u"A/B: Tools?", u"P1"}, ownPaths().module, true);
  EXPECT_EQ(perUser, appData_ + u"\\AB Tools\\P1\\windows_tests.ini");

  const std::string ini = product_ + kMain + "JRE Path=C:\\from-ini\r\n";
  {
    const Loaded app = load(ini);
    EXPECT_EQ(app.jrePath, u"C:\\from-ini") << "no per-user file yet";
  }
  writeAnsiFile(perUser, "[Java Runtime Environment]\r\nJRE Path=C:\\remembered\\\r\n");
  {
    const Loaded app = load(ini);
    EXPECT_EQ(app.jrePath, u"C:\\remembered\\");
  }
  writeAnsiFile(perUser, "[Other]\r\n");
  {
    const Loaded app = load(ini);
    EXPECT_EQ(app.jrePath, u"") << "an existing per-user file without the key";
  }
  {
    const Loaded app = load(ini + "[Application]\r\nApplication Type=service\r\n");
    EXPECT_TRUE(app.settings.serviceMode);
    EXPECT_EQ(app.jrePath, u"C:\\from-ini") << "service mode reads the settings file";
  }
}

TEST_F(PerUserSettings, PersistingGoesToPerUserFilesOrToTheSettingsFiles) {
  const String folder = freshTempFolder("persist");
  LaunchSettings app;
  app.productName = u"Shop";
  app.pairProduct = folder + u"\\Shop64.exe";
  writeAnsiFile(ownSettingsFile(), kMain);
  persistChosenRuntime(app, ownPaths(), u"C:\\picked\\");
  EXPECT_EQ(IniSettingsFile(appData_ + u"\\Shop\\\\windows_tests.ini").getValue(u"Java Runtime Environment", u"JRE Path"),
            u"C:\\picked\\");
  EXPECT_EQ(IniSettingsFile(appData_ + u"\\Shop\\\\Shop64.ini").getValue(u"Java Runtime Environment", u"JRE Path"),
            u"C:\\picked\\");
  EXPECT_EQ(IniSettingsFile(ownSettingsFile()).getValue(u"Java Runtime Environment", u"JRE Path"), u"");

  app.serviceMode = true;
  SetEnvironmentVariableW(L"APPDATA", wide(folder + u"\\untouched"));
  persistChosenRuntime(app, ownPaths(), u"C:\\service\\");
  EXPECT_EQ(IniSettingsFile(ownSettingsFile()).getValue(u"Java Runtime Environment", u"JRE Path"), u"C:\\service\\");
  EXPECT_EQ(IniSettingsFile(folder + u"\\Shop64.ini").getValue(u"Java Runtime Environment", u"JRE Path"), u"C:\\service\\");
  EXPECT_EQ(GetFileAttributesW(wide(folder + u"\\untouched")), INVALID_FILE_ATTRIBUTES);
}

TEST_F(PerUserSettings, LongAppDataIsReadWhole) {
  String longAppData = appData_;
  while (longAppData.size() < 300) longAppData += u"\\deeper";
  SetEnvironmentVariableW(L"APPDATA", wide(longAppData));
  EXPECT_EQ(perUserSettingsPath({u"Shop", u"P"}, ownPaths().module, false), longAppData + u"\\Shop\\P\\windows_tests.ini");
}

}  // namespace
