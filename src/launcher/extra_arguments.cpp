#include "launcher/extra_arguments.h"

#include "common/environment.h"
#include "common/win_text.h"
#include "launcher/command_line.h"
#include "launcher/launch_steps.h"
#include "launcher/launcher_app.h"
#include "launcher/module_path.h"
#include "settings/layered_settings.h"

void readExtraArguments(LauncherApp& app) {
  String path;
  if (!settingsFilePath(path)) return;
  app.extraArguments = LayeredSettings(path, embeddedSettingsText(app.upgradeCode)).value(setting::kCmd);
  appendExtraArguments(app);
}

void appendExtraArguments(LauncherApp& app) {
  if (app.extraArguments.empty()) return;
  app.extraArguments = expandEnvironment(app.extraArguments);
  StringList tokens;
  splitCommandLine(app.extraArguments, tokens);
  for (String& token : tokens) {
    if (!token.empty()) app.arguments.push_back(std::move(token));
  }
}
