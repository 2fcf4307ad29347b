#pragma once
#include "common/text.h"

// One INI file, read and written through the platform's private-profile
// functions. A missing file, section or key reads as the empty string.
class IniSettingsFile {
 public:
  explicit IniSettingsFile(String path) : path_(std::move(path)) {}

  // The value exactly as the platform returns it (blanks around it and one
  // pair of enclosing quotes removed); values of any length are read whole.
  String getValue(const String& section, const String& key) const;

  const String& path() const { return path_; }

 private:
  String path_;
};
