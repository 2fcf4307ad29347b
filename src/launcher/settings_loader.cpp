// The launcher's settings into the application object, and the runtime the
// user picked into the settings files.
#include "common/file_system.h"
#include "common/split_string.h"
#include "launcher/error_report.h"
#include "launcher/launch_steps.h"
#include "launcher/launcher_app.h"
#include "launcher/module_path.h"
#include "resources/resource_ids.h"
#include "settings/ini_settings_file.h"
#include "settings/layered_settings.h"
#include "settings/per_user_settings.h"

namespace {

void readVersionBound(const String& value, int32_t anyValue, VersionNumber& version) {
  if (value == setting::kAnyVersion) {
    version = VersionNumber{{anyValue, anyValue, anyValue, anyValue}, 4};
  } else {
    parseVersion(value, anyValue, version);
  }
}

void readJvmSource(const String& value, LauncherApp& app) {
  struct Row {
    const char16_t* name;
    bool favor, jdk, jre;
  };
  static const Row rows[] = {
      {setting::kFavorJre, true, false, true},
      {setting::kFavorJdk, true, true, false},
      {setting::kOnlyJdk, false, true, false},
      {setting::kOnlyJre, false, false, true},
  };
  if (value.empty()) {
    app.allowJdk = app.allowJre = true;
    return;
  }
  Row chosen{nullptr, false, false, false};
  for (const Row& row : rows) {
    if (value == row.name) chosen = row;
  }
  app.jvmSourceFavor = chosen.favor;
  app.allowJdk = chosen.jdk;
  app.allowJre = chosen.jre;
}

void readVmProvider(const String& value, LauncherApp& app) {
  struct Row {
    const char16_t* name;
    bool allowJRockit, favorJRockit, allowSun, favorSun, allowIbm, favorIbm;
  };
  static const Row rows[] = {
      {setting::kJRockit, true, true, false, false, false, false},
      {setting::kIbm, false, false, false, false, true, true},
      {setting::kFavorSun, true, false, true, true, true, false},
      {setting::kFavorJRockit, true, true, true, false, true, false},
      {setting::kFavorIbm, true, false, true, false, true, true},
      {setting::kAnyProvider, true, false, true, false, true, false},
  };
  if (value.empty()) return;
  for (const Row& row : rows) {
    if (!equalsIgnoreCase(value, row.name)) continue;
    app.allowJRockit = row.allowJRockit;
    app.favorJRockit = row.favorJRockit;
    app.allowSun = row.allowSun;
    app.favorSun = row.favorSun;
    app.allowIbm = row.allowIbm;
    app.favorIbm = row.favorIbm;
    return;
  }
}

String readJrePath(LauncherApp& app, LayeredSettings& settings) {
  if (!app.serviceMode) {
    // A remembered choice wins, even an empty one, while its file exists.
    String perUser = launcherPerUserSettingsPath(app.product(), false);
    FileFinder finder;
    if (!perUser.empty() && finder.findFirst(&perUser)) return IniSettingsFile(perUser).value(setting::kJrePath);
  }
  return settings.value(setting::kJrePath);
}

}  // namespace

bool loadLauncherSettings(LauncherApp& app) {
  String path;
  if (!settingsFilePath(path)) return false;

  IniSettingsFile plain(path);
  app.productCode = plain.value(setting::kProductCode);
  app.upgradeCode = plain.value(setting::kUpgradeCode);
  app.productName = plain.value(setting::kProductName);

  LayeredSettings settings(path, embeddedSettingsText(app.upgradeCode));
  readVersionBound(settings.value(setting::kMinimumVersion), 0, app.minVersion);
  readVersionBound(settings.value(setting::kMaximumVersion), 65535, app.maxVersion);
  app.serviceMode = settings.value(setting::kApplicationType) == setting::kService;
  splitString(settings.value(setting::kPreferredVersions), u";", app.preferredVersions);
  app.jrePath = readJrePath(app, settings);

  String jvmType = settings.value(setting::kJvmType);
  app.jvmType = jvmType == setting::kServerVm        ? JvmType::Server
                : jvmType == setting::kFavorServerVm ? JvmType::FavorServer
                                                     : JvmType::Default;
  readJvmSource(settings.value(setting::kJvmSource), app);
  readVmProvider(settings.value(setting::kVmProvider), app);

  app.mainClass = settings.value(setting::kMainClass);
  if (app.mainClass.empty()) {
    showError(nullptr, IDS_NO_MAIN_CLASS, 0u);
    return false;
  }
  // The VM looks classes up by their internal, slash-separated name.
  for (char16_t& c : app.mainClass) {
    if (c == u'.') c = u'/';
  }

  app.failureCheck = equalsIgnoreCase(settings.value(setting::kFailureCheck), setting::kYes);
  app.overrideWorkingDir = equalsIgnoreCase(settings.value(setting::kOverrideWorkingDir), setting::kYes);
  app.systemPath = settings.value(setting::kSystemPath);
  app.libraryPath = settings.value(setting::kLibraryPath);
  app.pairProduct = settings.value(setting::kPairProduct);
  app.pairReturnCode = equalsIgnoreCase(settings.value(setting::kPairReturnCode), setting::kYes);
  app.singleInstanceRequested =
      !app.serviceMode && settings.value(setting::kSingleInstance) == setting::kYesExactly;
  // Environment references in these are expanded when they are used: the
  // launch sets "Path" first.
  app.stdoutFile = settings.value(setting::kOutputFile);
  app.stdoutAppend = settings.value(setting::kOutputAppend) == setting::kYesExactly;
  app.stderrFile = settings.value(setting::kErrorFile);
  app.stderrAppend = settings.value(setting::kErrorAppend) == setting::kYesExactly;
  app.extraArguments = settings.value(setting::kCmd);
  return true;
}

void persistChosenRuntime(LauncherApp& app, const String& home) {
  if (home.empty()) return;  // an empty folder would name the current directory
  String settingsPath;
  if (!settingsFilePath(settingsPath)) return;
  if (!app.serviceMode) {
    String own = launcherPerUserSettingsPath(app.product(), true);
    if (!own.empty()) IniSettingsFile(own).store(setting::kJrePath, home);
    if (!app.pairProduct.empty()) IniSettingsFile(perUserSettingsPath(app.product(), app.pairProduct, true)).store(setting::kJrePath, home);
  } else {
    IniSettingsFile(settingsPath).store(setting::kJrePath, home);
    String pairPath;
    if (pairSettingsFilePath(app.pairProduct, pairPath)) IniSettingsFile(pairPath).store(setting::kJrePath, home);
  }
}
