#pragma once
// Settings carried inside the executable: an INI-style text parsed into an
// in-memory table of sections and key/value pairs. Unlike the settings file,
// lookups here are exact (case-sensitive) and the first match wins.
#include <vector>

#include "common/text.h"
#include "settings/settings_source.h"

class EmbeddedSettingsTable : public SettingsSource {
 public:
  struct Pair {
    String key;
    String value;
  };
  struct Section {
    String name;
    std::vector<Pair> pairs;
  };

  // Clears the table and fills it from the text. Lines end with CR LF only;
  // a leading byte-order mark is ignored; a repeated section header starts a
  // new section; lines that fit neither a header nor "key = value" inside a
  // section are skipped. Nothing is a comment.
  void loadFromText(StringView text);

  const Section* findSection(StringView name) const;
  static const Pair* findKey(const Section& section, StringView key);

  // The value of section/key into `value`; false (and `value` untouched) when
  // either is missing.
  bool lookup(StringView section, StringView key, String& value) const;

  // The table has no header to read: stores 0 and answers 1.
  uint32_t readHeader(uint8_t (&header)[4]) override;
  String getValue(const String& section, const String& key) override;
  StringList getSectionNames() override;
  // Appends a pair to the first section of that name (a new section when
  // there is none), even when the key exists already.
  bool setValue(const String& section, const String& key, const String& value) override;
  // There is no file: nothing is deleted.
  bool deleteFile() override { return false; }

  void clear() { sections_.clear(); }

 private:
  std::vector<Section> sections_;
};
