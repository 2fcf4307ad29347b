#pragma once
// A settings file's text read by the rules of the platform's profile
// functions, for files those functions would misread: section and key names
// match without regard to ASCII case and without surrounding blanks, the
// first section and the first key of a name win, a value loses its
// surrounding blanks and one pair of enclosing quotes, lines end with CR, LF
// or both, and a line without "=" or before the first section is no key.
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "common/text.h"

class ProfileText {
 public:
  explicit ProfileText(StringView text);

  // The value into `value`; false when the section or key is missing.
  bool lookup(StringView section, StringView key, String& value) const;
  StringList sectionNames() const;

 private:
  struct Section {
    String name;
    std::vector<std::pair<String, String>> pairs;
  };
  std::vector<Section> sections_;
};

// The text with section/key set to value, everything else as it was: the
// key's line replaced, or a line added at the end of the section, or the
// section added at the end.
String profileTextWithValue(StringView text, StringView section, StringView key, StringView value);

// The text of settings file bytes that begin with a byte-order mark, UTF-8
// or UTF-16LE, without it; nothing for other bytes, which the platform reads
// in the ANSI code page.
std::optional<String> markedSettingsText(std::string_view bytes);
bool isUtf8Marked(std::string_view bytes);
