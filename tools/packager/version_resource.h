#pragma once
// Builds the binary version-information resource (RT_VERSION) that Windows'
// version API and Explorer's file properties read.
#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "common/text.h"

using VersionQuad = std::array<uint16_t, 4>;

struct VersionDetails {
  VersionQuad fileVersion{};
  VersionQuad productVersion{};
  // Named texts of the US-English, Unicode string table: "ProductName",
  // "FileVersion", "CompanyName", ...
  std::vector<std::pair<String, String>> strings;
};

// "1", "1.2", "1.2.3" or "1.2.3.4", each part 0 to 65535; missing parts are 0.
// Anything else leaves all four at 0 and returns false.
bool parseVersionQuad(StringView text, VersionQuad& version);

std::vector<uint8_t> buildVersionResource(const VersionDetails& details);
