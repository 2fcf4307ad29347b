#include "jre/version_number.h"

#include <algorithm>

#include "resources/resource_ids.h"

namespace {

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

size_t nextDigit(StringView text, size_t from) {
  while (from < text.size() && !isDigit(text[from])) ++from;
  return from;
}

// All four parts the same value, 0 or 65535: the bound says nothing.
bool isUnset(const VersionNumber& v) {
  const int32_t p = v.parts[0];
  return (p == 0 || p == 65535) && v.parts[1] == p && v.parts[2] == p && v.parts[3] == p;
}

}  // namespace

bool parseVersion(StringView text, int32_t fill, VersionNumber& version) {
  version = VersionNumber{};
  size_t pos = nextDigit(text, 0);
  if (pos == text.size()) return false;

  VersionNumber parsed;
  for (int group = 0;; ++group) {
    int64_t value = 0;
    for (; pos < text.size() && isDigit(text[pos]); ++pos) {
      value = value * 10 + (text[pos] - u'0');
      if (value > INT32_MAX) return false;
    }
    parsed.parts[group] = static_cast<int32_t>(value);
    pos = nextDigit(text, pos);
    if (pos == text.size()) {
      parsed.partCount = group + 1;
      break;
    }
    if (group == 3) {
      parsed.partCount = 5;
      break;
    }
  }
  for (int i = parsed.partCount; i < 4; ++i) parsed.parts[i] = fill;
  version = parsed;
  return true;
}

int compareVersions(const VersionNumber& a, const VersionNumber& b) {
  for (int i = 0; i < 4; ++i) {
    if (a.parts[i] != b.parts[i]) return a.parts[i] < b.parts[i] ? -1 : 1;
  }
  return 0;
}

bool withinBounds(const VersionNumber& version, const VersionNumber& min, const VersionNumber& max) {
  bool noMaximum = max.parts[0] == 0 && max.parts[1] == 0 && max.parts[2] == 0 && max.parts[3] == 0;
  return compareVersions(version, min) >= 0 && (noMaximum || compareVersions(version, max) <= 0);
}

bool matchesPreferred(const VersionNumber& candidate, const VersionNumber& entry) {
  int significant = 4;
  while (significant > 0 && entry.parts[significant - 1] == 0) --significant;
  for (int i = 0; i < significant; ++i) {
    if (candidate.parts[i] != entry.parts[i]) return false;
  }
  return true;
}

String formatVersion(const VersionNumber& version) {
  // A parsed version prints the parts its text gave: a bound of 11 reads 11,
  // not 11.0 or 11.65535, since it admits every 11.x.
  if (version.partCount > 0) {
    String text;
    for (int i = 0; i < std::min(version.partCount, 4); ++i) {
      if (i > 0) text += u'.';
      text += formatText(u"%d", {version.parts[i]});
    }
    return text;
  }
  int last = 3;
  while (last >= 0 && (version.parts[last] == 0 || version.parts[last] == 65535)) --last;
  if (last < 0) return u"0.0.0.0";
  String text;
  for (int i = 0; i <= (last > 1 ? last : 1); ++i) {
    if (i > 0) text += u'.';
    // A part printed only to show two of them is a filler: an upper bound of
    // 11 reads 11.0, not 11.65535.
    text += formatText(u"%d", {i > last ? 0 : version.parts[i]});
  }
  return text;
}

String describeVersionRequirement(const VersionNumber& min, const VersionNumber& max, String (*text)(unsigned id)) {
  bool hasMin = !isUnset(min);
  bool hasMax = !isUnset(max);
  if (!hasMin && !hasMax) return text(IDS_LATEST_VERSION);
  if (!hasMin) return formatText(text(IDS_MAXIMUM_VERSION), {formatVersion(max)});
  if (!hasMax) return formatText(text(IDS_MINIMUM_VERSION), {formatVersion(min)});
  if (compareVersions(min, max) == 0) return formatText(text(IDS_EXACT_VERSION), {formatVersion(min)});
  return formatText(text(IDS_VERSION_RANGE), {formatVersion(min), formatVersion(max)});
}
