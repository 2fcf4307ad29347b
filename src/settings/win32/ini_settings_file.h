#pragma once
#include <optional>

#include "settings/profile_text.h"
#include "settings/settings_source.h"

// One INI file, read and written through the platform's private-profile
// functions: section and key names match without regard to case, a value
// comes back without surrounding blanks and one pair of enclosing quotes,
// and a file with a UTF-16 byte-order mark is read as Unicode. A file with
// the UTF-8 byte-order mark, which those functions read in the ANSI code
// page (and whose first section the mark hides), is read and written here by
// the same rules, and stays UTF-8.
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
  // The path the profile functions take: they cannot open one of MAX_PATH
  // characters or more, so such a file goes by its short path.
  String profilePath() const;
  // The UTF-8 file's text, read at the first question; null for other files.
  const ProfileText* utf8Text();

  String path_;
  bool probed_ = false;
  std::optional<ProfileText> utf8_;
};
