#include "jre/version_number.h"

#include <gtest/gtest.h>

#include <array>

#include "resources/resource_ids.h"

namespace {

using Parts = std::array<int32_t, 4>;

VersionNumber version(StringView text, int32_t fill = 0) {
  VersionNumber v;
  parseVersion(text, fill, v);
  return v;
}

Parts parts(const VersionNumber& v) { return {v.parts[0], v.parts[1], v.parts[2], v.parts[3]}; }

TEST(ParseVersion, ReadsDigitGroupsFromLooseText) {
  const struct {
    const char16_t* text;
    int32_t fill;
    bool ok;
    Parts expected;
    int32_t count;
  } cases[] = {
      {u"1.8.0_231", 0, true, {1, 8, 0, 231}, 4},
      {u"jdk-11.0.2", 65535, true, {11, 0, 2, 65535}, 3},
      {u"1..8", 65535, true, {1, 8, 65535, 65535}, 2},
      {u"1.8.0_231-b11", 0, true, {1, 8, 0, 231}, 5},
      {u"latest2", 65535, true, {2, 65535, 65535, 65535}, 1},
      {u"1.8.0_05", 0, true, {1, 8, 0, 5}, 4},
      {u"11", 65535, true, {11, 65535, 65535, 65535}, 1},
      {u"2147483647", 0, true, {2147483647, 0, 0, 0}, 1},
      {u"\u0661.\u0662 3", 0, true, {3, 0, 0, 0}, 1},  // only ASCII digits count
      {u"", 0, false, {0, 0, 0, 0}, 0},
      {u"latest", 65535, false, {0, 0, 0, 0}, 0},
      {u"99999999999", 0, false, {0, 0, 0, 0}, 0},
      {u"1.2147483648", 0, false, {0, 0, 0, 0}, 0},
  };
  for (const auto& c : cases) {
    VersionNumber v;
    v.parts[0] = 42;
    EXPECT_EQ(parseVersion(c.text, c.fill, v), c.ok) << toUtf8(c.text);
    EXPECT_EQ(parts(v), c.expected) << toUtf8(c.text);
    EXPECT_EQ(v.partCount, c.count) << toUtf8(c.text);
  }
}

TEST(CompareVersions, ComparesPartsAsNumbers) {
  EXPECT_GT(compareVersions(version(u"1.10"), version(u"1.9")), 0);
  EXPECT_LT(compareVersions(version(u"1.8.0_99"), version(u"1.8.0_100")), 0);
  EXPECT_EQ(compareVersions(version(u"1.8"), version(u"1.8.0.0")), 0);
  EXPECT_GT(compareVersions(version(u"-1"), version(u"0.0.0.1")), 0) << "a minus sign only separates";
  EXPECT_LT(compareVersions(VersionNumber{{-1, 0, 0, 0}, 1}, version(u"0.0.0.1")), 0) << "parts are signed";
}

TEST(WithinBounds, AdmitsBetweenMinimumAndFilledMaximum) {
  const struct {
    const char16_t *candidate, *min, *max;
    bool admitted;
  } cases[] = {
      {u"1.8.0_231", u"1.6", u"1.8", true},
      {u"1.9.0", u"1.6", u"1.8", false},
      {u"1.5.0_22", u"1.6", u"", false},
      {u"17.0.1", u"", u"", true},
      {u"17.0.1", u"", u"0", false},  // 0.65535.65535.65535 is a real bound
      {u"1.8.0_1", u"", u"1.8.0", true},
      {u"1.8.1", u"", u"1.8.0", false},
      {u"1.6.0.0", u"1.6", u"", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(withinBounds(version(c.candidate), version(c.min), version(c.max, 65535)), c.admitted)
        << toUtf8(c.candidate) << " in [" << toUtf8(c.min) << ", " << toUtf8(c.max) << "]";
  }
  VersionNumber zeroMax;
  zeroMax.partCount = 4;
  EXPECT_TRUE(withinBounds(version(u"99"), version(u"1"), zeroMax)) << "a written 0.0.0.0 is no bound";
}

TEST(MatchesPreferred, TrailingZerosAreWildcards) {
  const struct {
    const char16_t *candidate, *entry;
    bool matches;
  } cases[] = {
      {u"1.8.0_231", u"1.8", true}, {u"1.8.1", u"1.8", true},         {u"1.80", u"1.8", false},
      {u"1.8.0_231", u"1.8.0_231", true}, {u"1.8.0_232", u"1.8.0_231", false}, {u"11.0.2", u"11", true},
      {u"17", u"", true},           {u"17", u"none", true},           {u"17", u"0.0", true},
      {u"1.0.8", u"1.0.8", true},   {u"1.1.8", u"1.0.8", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(matchesPreferred(version(c.candidate), version(c.entry)), c.matches)
        << toUtf8(c.candidate) << " ~ " << toUtf8(c.entry);
  }
}

TEST(FormatVersion, PrintsUpToTheLastMeaningfulPart) {
  const std::pair<Parts, const char*> cases[] = {
      {{1, 8, 65535, 65535}, "1.8"},         {{1, 0, 0, 0}, "1.0"},
      {{11, 0, 2, 0}, "11.0.2"},             {{1, 6, 0, 20}, "1.6.0.20"},
      {{65535, 65535, 65535, 65535}, "0.0.0.0"}, {{1, 65535, 0, 3}, "1.65535.0.3"},
      {{0, 0, 0, 0}, "0.0.0.0"},             {{-1, 0, 0, 0}, "-1.0"},
      {{11, 65535, 65535, 65535}, "11.0"},   {{11, 0, 0, 0}, "11.0"},
  };
  for (const auto& [p, expected] : cases) {
    VersionNumber v;
    for (int i = 0; i < 4; ++i) v.parts[i] = p[i];
    EXPECT_EQ(toUtf8(formatVersion(v)), expected);
  }
}

String tableText(unsigned id) {
  switch (id) {
    case IDS_LATEST_VERSION: return u"latest version";
    case IDS_MAXIMUM_VERSION: return u"maximum version %s";
    case IDS_MINIMUM_VERSION: return u"minimum version %s";
    case IDS_EXACT_VERSION: return u"version %s is required";
    case IDS_VERSION_RANGE: return u"version between %s and %s";
    default: return u"?";
  }
}

// The bounds as the settings loader makes them: "any", or parsed with its fill.
VersionNumber bound(const char16_t* text, int32_t fill) {
  if (StringView(text) == u"any") return VersionNumber{{fill, fill, fill, fill}, 4};
  return version(text, fill);
}

TEST(DescribeVersionRequirement, NamesTheFivePhrases) {
  const struct {
    const char16_t *min, *max;
    const char* phrase;
  } cases[] = {
      {u"", u"", "latest version"},
      {u"any", u"", "latest version"},
      {u"any", u"any", "latest version"},
      {u"", u"1.8", "maximum version 1.8"},
      {u"", u"11", "maximum version 11"},
      {u"11", u"", "minimum version 11"},
      {u"1.8.0", u"17", "version between 1.8.0 and 17"},
      {u"1.6.0_20", u"any", "minimum version 1.6.0.20"},
      {u"1.8", u"1.8", "version between 1.8 and 1.8"},
      {u"1.8.0.231", u"1.8.0.231", "version 1.8.0.231 is required"},
      {u"1.6", u"11.0.2", "version between 1.6 and 11.0.2"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(toUtf8(describeVersionRequirement(bound(c.min, 0), bound(c.max, 65535), tableText)), c.phrase)
        << toUtf8(c.min) << " / " << toUtf8(c.max);
  }
}

}  // namespace
