#include "settings/win32/per_user_settings.h"

#include "common/win32/environment.h"
#include "common/win32/file_system.h"
#include "common/win32/win_text.h"
#include "settings/win32/ini_settings_file.h"
#include "settings/per_user_path.h"
#include "settings/settings_path.h"

String perUserSettingsPath(const ProductIdentity& product, const String& executablePath, bool createFolders) {
  const String appData = environmentVariable(u"APPDATA").value_or(String());
  PerUserPath path = perUserPathFor(appData, product.name, product.code, executablePath);
  if (createFolders) {
    CreateDirectoryW(wide(path.productFolder), nullptr);
    CreateDirectoryW(wide(path.codeFolder), nullptr);
  }
  return path.file;
}

String configuredJrePath(SettingsSource& settings, const ProductIdentity& product, const String& executablePath,
                         bool service) {
  if (!service) {
    String perUser = perUserSettingsPath(product, executablePath, false);
    FileFinder finder;
    if (!perUser.empty() && finder.findFirst(&perUser)) return IniSettingsFile(perUser).value(setting::kJrePath);
  }
  return settings.value(setting::kJrePath);
}

bool pairSettingsFilePath(const String& pairProduct, const String& executableFolder, String& path) {
  if (pairProduct.empty()) return false;
  // A bare or relative name lies beside this executable: left relative, the
  // system would put the file in the Windows folder (a service's current
  // directory is the system folder).
  String pair = pairProduct;
  bool relative = !(pair.size() >= 2 && pair[1] == u':') && pair[0] != u'\\';
  if (relative) pair = executableFolder + pair;
  return settingsPathForModule(pair, path);
}

void persistChosenRuntime(const LaunchSettings& settings, const ExecutablePaths& paths, const String& home) {
  if (home.empty()) return;  // an empty folder would name the current directory
  if (!settings.serviceMode) {
    const String own = perUserSettingsPath(settings.product(), paths.module, true);
    if (!own.empty()) IniSettingsFile(own).store(setting::kJrePath, home);
    if (!settings.pairProduct.empty()) {
      const String pair = perUserSettingsPath(settings.product(), settings.pairProduct, true);
      IniSettingsFile(pair).store(setting::kJrePath, home);
    }
  } else {
    IniSettingsFile(paths.settings).store(setting::kJrePath, home);
    String pairPath;
    if (pairSettingsFilePath(settings.pairProduct, paths.folder, pairPath)) {
      IniSettingsFile(pairPath).store(setting::kJrePath, home);
    }
  }
}
