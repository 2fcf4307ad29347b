#include "settings/embedded_settings_table.h"

#include "common/split_string.h"

namespace {

bool isControlOrBlank(char16_t c) { return c <= 32; }

// The section name when the line is a header: after leading characters up
// to code 32 it starts with "[" and its last character above code 32 is "]".
bool parseHeader(StringView line, String& name) {
  size_t first = 0;
  while (first < line.size() && isControlOrBlank(line[first])) ++first;
  if (first == line.size() || line[first] != u'[') return false;
  size_t last = line.size();
  while (last > 0 && isControlOrBlank(line[last - 1])) --last;
  if (line[last - 1] != u']') return false;
  name.assign(line.substr(first + 1, last - 1 - (first + 1)));
  return true;
}

}  // namespace

void EmbeddedSettingsTable::loadFromText(StringView text) {
  clear();
  StringList lines;
  splitString(text, u"\r\n", lines);
  if (!lines.empty() && !lines[0].empty() && lines[0][0] == u'\xFEFF') lines[0].erase(0, 1);

  Section* current = nullptr;
  for (const String& line : lines) {
    if (line.empty()) continue;
    String name;
    if (parseHeader(line, name)) {
      sections_.push_back(Section{std::move(name), {}});
      current = &sections_.back();
      continue;
    }
    if (!current) continue;
    size_t equals = line.find(u'=');
    if (equals == String::npos) continue;
    current->pairs.push_back(Pair{trimWhiteSpace(StringView(line).substr(0, equals)),
                                  trimWhiteSpace(StringView(line).substr(equals + 1))});
  }
}

const EmbeddedSettingsTable::Section* EmbeddedSettingsTable::findSection(StringView name) const {
  for (const Section& section : sections_) {
    if (section.name == name) return &section;
  }
  return nullptr;
}

const EmbeddedSettingsTable::Pair* EmbeddedSettingsTable::findKey(const Section& section, StringView key) {
  for (const Pair& pair : section.pairs) {
    if (pair.key == key) return &pair;
  }
  return nullptr;
}

bool EmbeddedSettingsTable::lookup(StringView section, StringView key, String& value) const {
  const Section* found = findSection(section);
  const Pair* pair = found ? findKey(*found, key) : nullptr;
  if (!pair) return false;
  value = pair->value;
  return true;
}

uint32_t EmbeddedSettingsTable::readHeader(uint8_t (&header)[4]) {
  for (uint8_t& b : header) b = 0;
  return 1;
}

String EmbeddedSettingsTable::getValue(const String& section, const String& key) {
  String value;
  lookup(section, key, value);
  return value;
}

StringList EmbeddedSettingsTable::getSectionNames() {
  StringList names;
  for (const Section& section : sections_) names.push_back(section.name);
  return names;
}

bool EmbeddedSettingsTable::setValue(const String& section, const String& key, const String& value) {
  Section* target = nullptr;
  for (Section& s : sections_) {
    if (s.name == section) {
      target = &s;
      break;
    }
  }
  if (!target) {
    sections_.push_back(Section{String(section), {}});
    target = &sections_.back();
  }
  target->pairs.push_back(Pair{key, value});
  return true;
}
