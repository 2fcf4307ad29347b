#pragma once
#include <windows.h>

#include "settings/embedded_settings_table.h"
#include "settings/win32/ini_settings_file.h"

// The launcher settings file layered over the settings embedded in the
// executable. A value named in the file's own section replaces the embedded
// one; a value named only in the section of the same name followed by "+"
// is appended to it after one blank.
class LayeredSettings : public IniSettingsFile {
 public:
  LayeredSettings(String path, StringView embeddedText);

  String getValue(const String& section, const String& key) override;

 private:
  EmbeddedSettingsTable embedded_;
};

// The settings text embedded in this executable (resource RCDATA 8000),
// deciphered with the upgrade code; empty when there is none or it does not
// decipher.
String embeddedSettingsText(const String& upgradeCode);

// The same for a loaded module, such as an executable loaded as data.
String embeddedSettingsTextOf(HMODULE module, const String& upgradeCode);
