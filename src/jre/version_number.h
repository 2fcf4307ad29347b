#pragma once
// Java versions as the launcher reads them from loose text (settings values,
// registry key names such as 1.8.0_231), compares and prints them.
#include <cstdint>

#include "common/text.h"

// Up to four signed 32-bit parts, most significant first, and how many digit
// groups the text held (5 when it held more than four).
struct VersionNumber {
  int32_t parts[4] = {0, 0, 0, 0};
  int32_t partCount = 0;
};

// Parses the first four groups of ASCII digits; every other character
// separates. Parts the text does not reach are set to `fill`. False, with the
// zero value, when the text has no digit or a group exceeds 2147483647.
bool parseVersion(StringView text, int32_t fill, VersionNumber& version);

// Negative, zero or positive, comparing the four parts as numbers.
int compareVersions(const VersionNumber& a, const VersionNumber& b);

// At least the minimum, and at most the maximum unless its parts are all 0.
bool withinBounds(const VersionNumber& version, const VersionNumber& min, const VersionNumber& max);

// Trailing 0 parts of the preferred entry match anything: 1.8 matches 1.8.0.231.
bool matchesPreferred(const VersionNumber& candidate, const VersionNumber& entry);

// For messages: the parts its text gave when it was parsed ("11", "1.8",
// "11.0.2"); otherwise parts up to the last one that is neither 0 nor 65535,
// at least two, "0.0.0.0" when there is none.
String formatVersion(const VersionNumber& version);

// The phrase that says which versions are acceptable ("latest version",
// "version between 1.6 and 1.8", ...); `text` loads a string-table text.
String describeVersionRequirement(const VersionNumber& min, const VersionNumber& max, String (*text)(unsigned id));
