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
  return !app.pairProduct.empty() && settingsPathForModule(app.pairProduct, path);
}

void persistChosenRuntime(LauncherApp& app, const String& home) {
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
