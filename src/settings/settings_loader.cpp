#include "launcher/launch_steps.h"
#include "launcher/error_report.h"
#include "launcher/launcher_app.h"
#include "launcher/module_path.h"
#include "resources/resource_ids.h"
#include "settings/ini_settings_file.h"

bool loadLauncherSettings(LauncherApp& app) {
  String path;
  if (!settingsFilePath(path)) return false;
  IniSettingsFile settings(path);

  String mainClass = settings.getValue(u"Java Runtime Environment", u"Main Class");
  if (mainClass.empty()) {
    showError(nullptr, IDS_NO_MAIN_CLASS, 0u);
    return false;
  }
  // The VM looks classes up by their internal, slash-separated name.
  for (char16_t& c : mainClass) {
    if (c == u'.') c = u'/';
  }
  app.mainClass = mainClass;
  return true;
}
