#include "settings/per_user_settings.h"

#include "common/environment.h"
#include "common/win_text.h"
#include "launcher/launch_steps.h"
#include "launcher/launcher_app.h"
#include "launcher/module_path.h"
#include "settings/ini_settings_file.h"
#include "settings/per_user_path.h"
#include "settings/settings_path.h"

String perUserSettingsPath(const LauncherApp& app, const String& executablePath, bool createFolders) {
  const String appData = environmentVariable(u"APPDATA").value_or(String());
  PerUserPath path = perUserPathFor(appData, app.productName, app.productCode, executablePath);
  if (createFolders) {
    CreateDirectoryW(wide(path.productFolder), nullptr);
    CreateDirectoryW(wide(path.codeFolder), nullptr);
  }
  return path.file;
}

String launcherPerUserSettingsPath(const LauncherApp& app, bool createFolders) {
  String module;
  if (!modulePath(module)) return String();
  return perUserSettingsPath(app, module, createFolders);
}

String pairPerUserSettingsPath(const LauncherApp& app) {
  if (app.pairProduct.empty()) return String();
  return perUserSettingsPath(app, app.pairProduct, true);
}

bool pairSettingsFilePath(const LauncherApp& app, String& path) {
  if (app.pairProduct.empty()) return false;
  // A bare or relative name lies beside this executable: left relative, the
  // system would put the file in the Windows folder (a service's current
  // directory is the system folder).
  String pair = app.pairProduct;
  bool relative = !(pair.size() >= 2 && pair[1] == u':') && pair[0] != u'\\';
  if (relative) {
    String folder;
    if (!executableFolder(folder)) return false;
    pair = folder + pair;
  }
  return settingsPathForModule(pair, path);
}

void persistChosenRuntime(LauncherApp& app, const String& home) {
  if (home.empty()) return;  // an empty folder would name the current directory
  String settingsPath;
  if (!settingsFilePath(settingsPath)) return;
  if (!app.serviceMode) {
    String own = launcherPerUserSettingsPath(app, true);
    if (!own.empty()) IniSettingsFile(own).store(setting::kJrePath, home);
    if (!app.pairProduct.empty()) IniSettingsFile(pairPerUserSettingsPath(app)).store(setting::kJrePath, home);
  } else {
    IniSettingsFile(settingsPath).store(setting::kJrePath, home);
    String pairPath;
    if (pairSettingsFilePath(app, pairPath)) IniSettingsFile(pairPath).store(setting::kJrePath, home);
  }
}
