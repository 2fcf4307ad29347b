#include "settings/ini_settings_file.h"

#include "common/win_text.h"

String IniSettingsFile::getValue(const String& section, const String& key) const {
  String buffer;
  for (DWORD size = 256;; size *= 2) {
    buffer.assign(size, u'\0');
    DWORD length = GetPrivateProfileStringW(wide(section), wide(key), L"", wideBuffer(buffer), size, wide(path_));
    // A count of size - 1 means the value may have been cut: read again.
    if (length != size - 1) {
      buffer.resize(length);
      return buffer;
    }
  }
}
