#pragma once
#include <cstdint>

#include "common/text.h"

// A Java version: up to four signed 32-bit parts, and how many were present.
struct VersionNumber {
  int32_t parts[4] = {0, 0, 0, 0};
  int32_t partCount = 0;
};

// Parses a version from loose text; parts that are missing are filled with
// `fill`. Returns false when the text holds no version.
bool parseVersion(StringView text, int32_t fill, VersionNumber& version);
