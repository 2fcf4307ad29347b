#pragma once
// A source of launcher settings: a settings file or the embedded table.
// A missing value reads as the empty string.
#include <cstdint>

#include "common/text.h"
#include "settings/setting_names.h"

class SettingsSource {
 public:
  virtual ~SettingsSource() = default;

  // The first 4 bytes of the source into `header`; 0 on success, otherwise a
  // system error code.
  virtual uint32_t readHeader(uint8_t (&header)[4]) = 0;
  virtual String getValue(const String& section, const String& key) = 0;
  virtual StringList getSectionNames() = 0;
  virtual bool setValue(const String& section, const String& key, const String& value) = 0;
  virtual bool deleteFile() = 0;

  // The same, for the named settings.
  String value(const SettingKey& key) { return getValue(key.section, key.name); }
  bool store(const SettingKey& key, const String& text) { return setValue(key.section, key.name, text); }
};
