#include "ui/anchor_colour.h"

namespace {

// One decimal number of at most three digits, up to 255; advances `at`.
bool readComponent(const String& value, size_t& at, uint8_t& out) {
  unsigned number = 0;
  size_t digits = 0;
  while (at < value.size() && value[at] >= u'0' && value[at] <= u'9' && digits < 4) {
    number = number * 10 + static_cast<unsigned>(value[at] - u'0');
    ++at;
    ++digits;
  }
  if (digits == 0 || digits > 3 || number > 255) return false;
  out = static_cast<uint8_t>(number);
  return true;
}

}  // namespace

std::optional<RgbColour> parseAnchorColour(const String& value) {
  RgbColour colour;
  size_t at = 0;
  uint8_t* parts[] = {&colour.red, &colour.green, &colour.blue};
  for (size_t i = 0; i < 3; ++i) {
    if (i > 0) {
      if (at >= value.size() || value[at] != u',') return std::nullopt;
      ++at;
    }
    if (!readComponent(value, at, *parts[i])) return std::nullopt;
  }
  if (at != value.size()) return std::nullopt;
  return colour;
}
