// Where System.out and System.err go: "Output File" and "Error File", each
// with its append switch.
#include "common/environment.h"
#include "launcher/launch_steps.h"
#include "launcher/launcher_app.h"
#include "launcher/module_path.h"
#include "settings/layered_settings.h"

namespace {

void readTarget(LayeredSettings& settings, const SettingKey& fileKey, const SettingKey& appendKey, String& file,
                bool& append) {
  file = settings.value(fileKey);
  if (!file.empty()) file = expandEnvironment(file);
  if (settings.value(appendKey) == setting::kYesExactly) append = true;
}

}  // namespace

void readStreamRedirection(LauncherApp& app) {
  String path;
  if (!settingsFilePath(path)) return;
  LayeredSettings settings(path, embeddedSettingsText(app.upgradeCode));
  readTarget(settings, setting::kOutputFile, setting::kOutputAppend, app.stdoutFile, app.stdoutAppend);
  readTarget(settings, setting::kErrorFile, setting::kErrorAppend, app.stderrFile, app.stderrAppend);
}
