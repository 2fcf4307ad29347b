#pragma once
#include <cstdint>

// A Java version: up to four signed 32-bit parts, and how many were present.
struct VersionNumber {
  int32_t parts[4] = {0, 0, 0, 0};
  int32_t partCount = 0;
};
