#pragma once
// A source of launcher settings: a settings file or the embedded table.
// A missing value reads as the empty string.
#include <cstdint>

#include "common/text.h"

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
};
