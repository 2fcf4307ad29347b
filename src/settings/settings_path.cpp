#include "settings/settings_path.h"

#include "common/path_components.h"

bool settingsPathForModule(StringView modulePath, String& settingsPath) {
  size_t dot = modulePath.rfind(u'.');
  if (dot == StringView::npos) return false;
  settingsPath.assign(modulePath.substr(0, dot + 1));
  settingsPath += u"ini";
  return true;
}

String executableForSettings(StringView settingsPath) {
  const size_t dot = settingsPath.rfind(u'.');
  return String(dot == StringView::npos ? settingsPath : settingsPath.substr(0, dot)) + u".exe";
}

ExecutablePaths executablePathsFor(const String& module) {
  ExecutablePaths paths{module, folderOfPath(module), String()};
  settingsPathForModule(module, paths.settings);
  return paths;
}
