#pragma once
// UTF-16 text as the launcher handles it everywhere: paths, settings values,
// messages. Portable: no platform headers here.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

using String = std::u16string;
using StringView = std::u16string_view;
using StringList = std::vector<String>;

// The characters the C runtime's iswspace classifies as white space: the
// Unicode White_Space set.
bool isWideSpace(char16_t c);

// The text without leading and trailing white space.
String trimWhiteSpace(StringView text);

// Case-insensitive comparison for ASCII letters; other characters compare
// exactly (settings values are compared this way: "Yes", "YES", "yes").
bool equalsIgnoreCase(StringView a, StringView b);

// An argument of formatText: a text for %s or a signed 32-bit number for %d.
using FormatArg = std::variant<String, int32_t>;

// printf-style formatting that knows exactly %s (text) and %d (signed 32-bit
// number), plus %% for a percent sign. Each conversion takes the next
// argument; a missing argument formats as nothing. Any other % sequence is
// copied unchanged.
String formatText(StringView pattern, const FormatArg* args, size_t count);
inline String formatText(StringView pattern, std::initializer_list<FormatArg> args) {
  return formatText(pattern, args.begin(), args.size());
}

// Appends the text's code units as little-endian byte pairs (UTF-16LE), the
// form of resources, files and the embedded settings.
void appendUtf16Le(std::vector<uint8_t>& bytes, StringView text);

// UTF-8 in, malformed sequences as U+FFFD; UTF-8 out.
String fromUtf8(std::string_view text);
std::string toUtf8(StringView text);
