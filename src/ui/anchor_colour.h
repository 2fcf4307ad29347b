#pragma once
// The link colours a user may have set for web pages: "red,green,blue" in
// decimal, each 0 to 255.
#include <cstdint>
#include <optional>

#include "common/text.h"

struct RgbColour {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  bool operator==(const RgbColour& other) const {
    return red == other.red && green == other.green && blue == other.blue;
  }
};

// Nothing for a value of any other form (so the caller keeps its default).
std::optional<RgbColour> parseAnchorColour(const String& value);
