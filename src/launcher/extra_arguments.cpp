#include "launcher/extra_arguments.h"

#include "common/win_text.h"
#include "launcher/command_line.h"
#include "launcher/launcher_app.h"

String expandEnvironment(const String& value) {
  // Without a '%' there is nothing to replace. The system call would only
  // cost time, and it handles at most 32767 characters: a longer value (a
  // class path of many jars, a long VM parameter) would come back cut.
  if (value.find(u'%') == String::npos) return value;
  String expanded;
  for (DWORD size = static_cast<DWORD>(value.size()) + 1;;) {
    expanded.assign(size, u'\0');
    DWORD needed = ExpandEnvironmentStringsW(wide(value), wideBuffer(expanded), size);
    if (needed == 0) return value;
    if (needed <= size) {
      expanded.resize(needed - 1);  // the count includes the terminator
      return expanded;
    }
    size = needed;
  }
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
