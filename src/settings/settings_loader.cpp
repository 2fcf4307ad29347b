#include "common/file_system.h"
#include "common/split_string.h"
#include "launcher/error_report.h"
#include "launcher/launch_steps.h"
#include "launcher/launcher_app.h"
#include "launcher/module_path.h"
#include "resources/resource_ids.h"
#include "settings/layered_settings.h"
#include "settings/per_user_settings.h"

namespace {

const String kProduct = u"Product Information";
const String kRuntime = u"Java Runtime Environment";
const String kApplication = u"Application";

void readVersionBound(const String& value, int32_t anyValue, VersionNumber& version) {
  if (value == u"any") {
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
      {u"favor_JRE", true, false, true},
      {u"favor_JDK", true, true, false},
      {u"only_JDK", false, true, false},
      {u"only_JRE", false, false, true},
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
      {u"jrockit", true, true, false, false, false, false},
      {u"ibm", false, false, false, false, true, true},
      {u"favor_sun", true, false, true, true, true, false},
      {u"favor_jrockit", true, true, true, false, true, false},
      {u"favor_ibm", true, false, true, false, true, true},
      {u"any", true, false, true, false, true, false},
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
    String perUser = launcherPerUserSettingsPath(app, false);
    FileFinder finder;
    if (!perUser.empty() && finder.findFirst(&perUser)) return IniSettingsFile(perUser).getValue(kRuntime, u"JRE Path");
  }
  return settings.getValue(kRuntime, u"JRE Path");
}

}  // namespace

bool loadLauncherSettings(LauncherApp& app) {
  String path;
  if (!settingsFilePath(path)) return false;

  IniSettingsFile plain(path);
  app.productCode = plain.getValue(kProduct, u"Product Code");
  app.upgradeCode = plain.getValue(kProduct, u"Upgrade Code");
  app.productName = plain.getValue(kProduct, u"Product Name");

  LayeredSettings settings(path, embeddedSettingsText(app.upgradeCode));
  readVersionBound(settings.getValue(kRuntime, u"Minimum Version"), 0, app.minVersion);
  readVersionBound(settings.getValue(kRuntime, u"Maximum Version"), 65535, app.maxVersion);
  app.serviceMode = settings.getValue(kApplication, u"Application Type") == u"service";
  splitString(settings.getValue(kRuntime, u"Preferred versions"), u";", app.preferredVersions);
  app.jrePath = readJrePath(app, settings);

  String jvmType = settings.getValue(kRuntime, u"JVM Type");
  app.jvmType = jvmType == u"server" ? JvmType::Server : jvmType == u"favor_server" ? JvmType::FavorServer : JvmType::Default;
  readJvmSource(settings.getValue(kRuntime, u"JVM Source"), app);
  readVmProvider(settings.getValue(kRuntime, u"VM Provider"), app);

  app.mainClass = settings.getValue(kRuntime, u"Main Class");
  if (app.mainClass.empty()) {
    showError(nullptr, IDS_NO_MAIN_CLASS, 0u);
    return false;
  }
  // The VM looks classes up by their internal, slash-separated name.
  for (char16_t& c : app.mainClass) {
    if (c == u'.') c = u'/';
  }

  app.failureCheck = equalsIgnoreCase(settings.getValue(kApplication, u"Failure Check"), u"Yes");
  app.overrideWorkingDir = equalsIgnoreCase(settings.getValue(kApplication, u"Override WorkingDir"), u"Yes");
  app.systemPath = settings.getValue(kRuntime, u"System Path");
  app.libraryPath = settings.getValue(kRuntime, u"Library Path");
  app.pairProduct = settings.getValue(kApplication, u"Pair Product");
  app.pairReturnCode = equalsIgnoreCase(settings.getValue(kApplication, u"Pair Return Code"), u"Yes");
  return true;
}
