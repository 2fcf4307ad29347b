// settings_probe SECTION KEY...: prints each key's value as the launcher reads
// it (the settings file beside this executable layered over the settings
// embedded in it), one "key=value" line each. Copied and branded like the
// launcher, it shows end to end what embedded settings do.
#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "common/win32/win_text.h"
#include "settings/win32/executable_paths.h"
#include "settings/win32/layered_settings.h"

int wmain(int argc, wchar_t** argv) {
  ExecutablePaths paths;
  DWORD error = 0;
  if (argc < 3 || !currentExecutablePaths(paths, error) || paths.settings.empty()) return 2;
  const String& path = paths.settings;
  _setmode(_fileno(stdout), _O_BINARY);
  String upgradeCode = IniSettingsFile(path).getValue(u"Product Information", u"Upgrade Code");
  LayeredSettings settings(path, embeddedSettingsText(upgradeCode));
  for (int i = 2; i < argc; ++i) {
    String key = fromWide(argv[i]);
    std::string line = toUtf8(key + u"=" + settings.getValue(fromWide(argv[1]), key) + u"\n");
    fwrite(line.data(), 1, line.size(), stdout);
  }
  return 0;
}
