#pragma once
#include "settings/settings_source.h"

// One INI file, read and written through the platform's private-profile
// functions: section and key names match without regard to case, a value
// comes back without surrounding blanks and one pair of enclosing quotes,
// and a file with a UTF-16 byte-order mark is read as Unicode.
class IniSettingsFile : public SettingsSource {
 public:
  explicit IniSettingsFile(String path) : path_(std::move(path)) {}

  uint32_t readHeader(uint8_t (&header)[4]) override;
  // The plain read: values of any length are read whole.
  String getValue(const String& section, const String& key) override;
  StringList getSectionNames() override;
  bool setValue(const String& section, const String& key, const String& value) override;
  bool deleteFile() override;

  const String& path() const { return path_; }

 private:
  String path_;
};
