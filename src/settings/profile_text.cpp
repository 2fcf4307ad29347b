#include "settings/profile_text.h"

namespace {

struct Line {
  size_t begin, end;  // the end before the line's CR and LF
  size_t next;        // where the next line begins
};

std::vector<Line> linesOf(StringView text) {
  std::vector<Line> lines;
  for (size_t begin = 0; begin < text.size();) {
    size_t end = text.find_first_of(u"\r\n", begin);
    if (end == StringView::npos) end = text.size();
    size_t next = end;
    if (next < text.size() && text[next] == u'\r') ++next;
    if (next < text.size() && text[next] == u'\n') ++next;
    lines.push_back({begin, end, next});
    begin = next;
  }
  return lines;
}

// "[name]" with blanks anywhere around the name and the brackets.
bool sectionHeader(StringView line, String& name) {
  const String trimmed = trimWhiteSpace(line);
  if (trimmed.empty() || trimmed[0] != u'[') return false;
  const size_t close = trimmed.find(u']');
  if (close == String::npos) return false;
  name = trimWhiteSpace(StringView(trimmed).substr(1, close - 1));
  return true;
}

bool keyLine(StringView line, String& key, String& value) {
  const size_t equals = line.find(u'=');
  if (equals == StringView::npos) return false;
  key = trimWhiteSpace(line.substr(0, equals));
  value = trimWhiteSpace(line.substr(equals + 1));
  const size_t n = value.size();
  if (n >= 2 && (value[0] == u'"' || value[0] == u'\'') && value[n - 1] == value[0]) value = value.substr(1, n - 2);
  return true;
}

}  // namespace

ProfileText::ProfileText(StringView text) {
  for (const Line& line : linesOf(text)) {
    const StringView content = text.substr(line.begin, line.end - line.begin);
    String name, value;
    if (sectionHeader(content, name)) {
      sections_.push_back({std::move(name), {}});
    } else if (!sections_.empty() && keyLine(content, name, value)) {
      sections_.back().pairs.emplace_back(std::move(name), std::move(value));
    }
  }
}

bool ProfileText::lookup(StringView section, StringView key, String& value) const {
  for (const Section& s : sections_) {
    if (!equalsIgnoreCase(s.name, trimWhiteSpace(section))) continue;
    for (const auto& [name, text] : s.pairs) {
      if (equalsIgnoreCase(name, trimWhiteSpace(key))) {
        value = text;
        return true;
      }
    }
    return false;
  }
  return false;
}

StringList ProfileText::sectionNames() const {
  StringList names;
  for (const Section& s : sections_) names.push_back(s.name);
  return names;
}

String profileTextWithValue(StringView text, StringView section, StringView key, StringView value) {
  const String pair = String(key) + u"=" + String(value) + u"\r\n";
  bool inSection = false;
  size_t insertAt = StringView::npos;  // after the section's last key, or its header
  for (const Line& line : linesOf(text)) {
    const StringView content = text.substr(line.begin, line.end - line.begin);
    String name, ignored;
    if (sectionHeader(content, name)) {
      if (inSection) break;
      inSection = equalsIgnoreCase(name, section);
      if (inSection) insertAt = line.next;
    } else if (inSection && keyLine(content, name, ignored)) {
      if (equalsIgnoreCase(name, key)) {
        return String(text.substr(0, line.begin)) + pair + String(text.substr(line.next));
      }
      insertAt = line.next;
    }
  }
  String out(text);
  if (insertAt != StringView::npos && insertAt < text.size()) return out.insert(insertAt, pair);
  // At the end, after a line end of the file's last line if it has none.
  if (!out.empty() && out.back() != u'\n' && out.back() != u'\r') out += u"\r\n";
  if (insertAt == StringView::npos) out += u"[" + String(section) + u"]\r\n";
  return out + pair;
}

bool isUtf8Marked(std::string_view bytes) { return bytes.substr(0, 3) == "\xEF\xBB\xBF"; }

std::optional<String> markedSettingsText(std::string_view bytes) {
  if (isUtf8Marked(bytes)) return fromUtf8(bytes.substr(3));
  if (bytes.substr(0, 2) != "\xFF\xFE") return std::nullopt;
  String text((bytes.size() - 2) / 2, u'\0');
  for (size_t i = 0; i < text.size(); ++i) {
    text[i] = static_cast<char16_t>(static_cast<uint8_t>(bytes[2 + 2 * i]) | static_cast<uint8_t>(bytes[3 + 2 * i]) << 8);
  }
  return text;
}
