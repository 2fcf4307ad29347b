// The launch's settings, read once at its start.
#include "common/win32/launch_trace.h"
#include "common/win32/string_table.h"
#include "launcher/win32/error_report.h"
#include "launcher/win32/launcher_app.h"
#include "resources/resource_ids.h"
#include "settings/win32/executable_paths.h"
#include "settings/win32/ini_settings_file.h"
#include "settings/win32/layered_settings.h"
#include "settings/win32/per_user_settings.h"

bool LauncherApp::loadSettings() {
  DWORD error = 0;
  if (!currentExecutablePaths(paths_, error)) {
    report(windowsFailure(IDS_NO_MODULE_PATH, error));
    return false;
  }
  if (paths_.settings.empty()) return false;

  IniSettingsFile file(paths_.settings);
  readFileSettings(file, settings_);
  // The one layered source of a launch: the file over the embedded table.
  const String embedded = embeddedSettingsText(settings_.upgradeCode);
  LayeredSettings layered(paths_.settings, embedded);
  readLayeredSettings(layered, settings_);
  runtimeFilter_ = readRuntimeFilter(layered);
  runtimeFilter_.utf8Process = GetACP() == CP_UTF8;
  if (trace::enabled()) {
    trace::line(u"executable " + paths_.module + u", settings " + paths_.settings +
                (embedded.empty() ? u", no embedded settings" : u", embedded settings found") +
                (runtimeFilter_.utf8Process ? u", code page UTF-8" : u""));
  }
  jrePath_ = configuredJrePath(layered, settings_.product(), paths_.module, settings_.serviceMode);
  if (mainTarget(settings_, paths_, [](const String& text) { return text; }).text.empty()) {
    report({IDS_NO_MAIN_CLASS, 0, {}});
    return false;
  }
  return true;
}
