#include "settings/per_user_settings.h"

#include "common/win_text.h"
#include "launcher/launch_steps.h"
#include "launcher/launcher_app.h"
#include "launcher/module_path.h"
#include "settings/ini_settings_file.h"
#include "settings/per_user_path.h"
#include "settings/settings_path.h"

namespace {

String environmentVariable(const wchar_t* name) {
  String value;
  for (DWORD size = MAX_PATH;;) {
    value.assign(size, u'\0');
    DWORD length = GetEnvironmentVariableW(name, wideBuffer(value), size);
    if (length < size) {
      value.resize(length);  // 0 when the variable is not set
      return value;
    }
    size = length;  // the size needed, terminator included
  }
}

}  // namespace

String perUserSettingsPath(const LauncherApp& app, const String& executablePath, bool createFolders) {
  PerUserPath path = perUserPathFor(environmentVariable(L"APPDATA"), app.productName, app.productCode, executablePath);
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
  const String section = u"Java Runtime Environment";
  const String key = u"JRE Path";
  if (!app.serviceMode) {
    String own = launcherPerUserSettingsPath(app, true);
    if (!own.empty()) IniSettingsFile(own).setValue(section, key, home);
    if (!app.pairProduct.empty()) IniSettingsFile(pairPerUserSettingsPath(app)).setValue(section, key, home);
  } else {
    IniSettingsFile(settingsPath).setValue(section, key, home);
    String pairPath;
    if (pairSettingsFilePath(app, pairPath)) IniSettingsFile(pairPath).setValue(section, key, home);
  }
}
