#include "launcher/win32/extra_arguments.h"

#include "common/win32/environment.h"
#include "launcher/command_line.h"

void appendExtraArguments(const String& extra, StringList& arguments) {
  if (extra.empty()) return;
  StringList tokens;
  splitCommandLine(expandEnvironment(extra), tokens);
  for (String& token : tokens) {
    if (!token.empty()) arguments.push_back(std::move(token));
  }
}
