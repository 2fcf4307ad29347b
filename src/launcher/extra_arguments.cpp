#include "launcher/extra_arguments.h"

#include "common/environment.h"
#include "common/win_text.h"
#include "launcher/command_line.h"
#include "launcher/launcher_app.h"

void appendExtraArguments(LauncherApp& app) {
  if (app.extraArguments.empty()) return;
  app.extraArguments = expandEnvironment(app.extraArguments);
  StringList tokens;
  splitCommandLine(app.extraArguments, tokens);
  for (String& token : tokens) {
    if (!token.empty()) app.arguments.push_back(std::move(token));
  }
}
