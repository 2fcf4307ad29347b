#include "jre/runtime_choice.h"

#include "jre/release_file.h"
#include "jre/runtime_filter.h"

#include <gtest/gtest.h>

#include <random>

namespace {

JreCandidate candidate(const char16_t* version, const char16_t* home, bool favoured = true, bool server = false) {
  JreCandidate c;
  parseVersion(version, 0, c.version);
  c.homeFolder = home;
  c.favoured = favoured;
  c.hasServerVm = server;
  return c;
}

std::string choose(std::vector<JreCandidate> candidates, RankingRules rules, StringList preferred = {}) {
  JreCandidate chosen;
  if (!chooseCandidate(candidates, rules, preferred, chosen)) return "none";
  return toUtf8(chosen.homeFolder);
}

TEST(ChooseCandidate, RanksByFavourServerVmAndVersion) {
  const RankingRules defaults;
  EXPECT_EQ(choose({}, defaults), "none");
  EXPECT_EQ(choose({candidate(u"1.8.0_231", u"jre8"), candidate(u"11.0.2", u"jdk11")}, defaults), "jdk11");
  // favor_JRE: only the JRE is favoured and wins despite its lower version.
  EXPECT_EQ(choose({candidate(u"11.0.2", u"jdk11", false), candidate(u"1.8.0_231", u"jre8", true)}, defaults), "jre8");
  // Without favouring, the version decides.
  EXPECT_EQ(choose({candidate(u"11.0.2", u"jdk11", false), candidate(u"1.8.0_231", u"jre8", true)},
                   RankingRules{false, JvmType::Default}),
            "jdk11");
  // favor_server: a server VM first among equally favoured candidates.
  EXPECT_EQ(choose({candidate(u"17", u"client17"), candidate(u"11", u"server11", true, true)}, RankingRules{true, JvmType::FavorServer}),
            "server11");
  EXPECT_EQ(choose({candidate(u"17", u"client17"), candidate(u"11", u"server11", true, true)}, defaults), "client17");
  // Names 1.8 and 1.8.0_231 for one folder are two candidates; the longer version ranks first.
  EXPECT_EQ(choose({candidate(u"1.8", u"a"), candidate(u"1.8.0_231", u"b")}, defaults), "b");
}

TEST(ChooseCandidate, KeepsCollectedOrderForEqualCandidates) {
  std::vector<JreCandidate> list{candidate(u"1.8", u"first"), candidate(u"1.8", u"second"), candidate(u"1.8", u"third"),
                                 candidate(u"9", u"top")};
  sortCandidates(list, RankingRules{});
  std::vector<std::string> order;
  for (const auto& c : list) order.push_back(toUtf8(c.homeFolder));
  EXPECT_EQ(order, (std::vector<std::string>{"top", "first", "second", "third"}));
}

// The order is the one of an exchange sort that swaps neighbours only when
// the later one ranks strictly higher, for any mix of favour, server VM,
// versions and ties.
TEST(ChooseCandidate, OrderIsThatOfAStableExchangeSort) {
  std::mt19937 random(7);
  for (int round = 0; round < 200; ++round) {
    std::vector<JreCandidate> list;
    for (size_t n = random() % 40; n > 0; --n) {
      const std::u16string version = fromUtf8(std::to_string(random() % 4) + "." + std::to_string(random() % 3));
      const std::u16string home = fromUtf8(std::to_string(list.size()));
      list.push_back(candidate(version.c_str(), home.c_str(), random() % 2, random() % 2));
    }
    const RankingRules rules{random() % 2 == 0, random() % 2 ? JvmType::FavorServer : JvmType::Default};
    std::vector<JreCandidate> expected = list;
    auto higher = [&](const JreCandidate& later, const JreCandidate& earlier) {
      if (rules.jvmSourceFavor && later.favoured != earlier.favoured) return later.favoured;
      if (rules.jvmType == JvmType::FavorServer && later.hasServerVm != earlier.hasServerVm) return later.hasServerVm;
      return compareVersions(later.version, earlier.version) > 0;
    };
    for (size_t pass = 0; pass < expected.size(); ++pass) {
      for (size_t i = 1; i < expected.size(); ++i) {
        if (higher(expected[i], expected[i - 1])) std::swap(expected[i], expected[i - 1]);
      }
    }
    sortCandidates(list, rules);
    ASSERT_EQ(list.size(), expected.size());
    for (size_t i = 0; i < list.size(); ++i) EXPECT_EQ(list[i].homeFolder, expected[i].homeFolder) << round;
  }
}

TEST(ChooseCandidate, PreferredEntriesApplyInListOrder) {
  const std::vector<JreCandidate> installed{candidate(u"1.7.0_80", u"jre7"), candidate(u"1.8.0_231", u"jre8"),
                                            candidate(u"11.0.2", u"jdk11")};
  const RankingRules rules;
  EXPECT_EQ(choose(installed, rules, {u"1.7", u"1.8"}), "jre7");
  EXPECT_EQ(choose(installed, rules, {u"1.9", u"1.8"}), "jre8");
  EXPECT_EQ(choose(installed, rules, {u"1.9", u"", u"1.7"}), "jdk11") << "an empty entry matches the first";
  EXPECT_EQ(choose(installed, rules, {u"1.9"}), "jdk11");
  EXPECT_EQ(choose(installed, rules, {u"1.8.0_231"}), "jre8");
}

// Probing from the best candidate down takes what choosing among the usable
// ones would, and probes no candidate ranked after the one taken (unless
// server VMs rank, which needs them all).
TEST(PickCandidate, ProbesBestFirstAndChoosesAsAmongTheUsable) {
  std::mt19937 random(11);
  for (int round = 0; round < 300; ++round) {
    std::vector<JreCandidate> list;
    std::vector<bool> works;
    for (size_t n = random() % 12; n > 0; --n) {
      const std::u16string version = fromUtf8(std::to_string(random() % 4) + "." + std::to_string(random() % 3));
      list.push_back(candidate(version.c_str(), fromUtf8(std::to_string(list.size())).c_str(), random() % 2));
      works.push_back(random() % 3 != 0);
    }
    const RankingRules rules{random() % 2 == 0, random() % 3 ? JvmType::Default : JvmType::FavorServer};
    const StringList preferred = random() % 2 ? StringList{u"2", u"1.1"} : StringList{};
    std::vector<JreCandidate> usable;
    for (size_t i = 0; i < list.size(); ++i) {
      if (works[i]) usable.push_back(list[i]);
    }
    int probes = 0;
    const int taken = pickCandidate(list, rules, preferred, [&](JreCandidate& c) {
      ++probes;
      return works[std::stoul(toUtf8(c.homeFolder))];
    }, false);
    ASSERT_EQ(taken < 0 ? "none" : toUtf8(list[static_cast<size_t>(taken)].homeFolder), choose(usable, rules, preferred));
    int judged = 0;
    for (const JreCandidate& c : list) judged += c.probed;
    EXPECT_EQ(judged, probes) << "each candidate is probed at most once";
    if (taken >= 0 && rules.jvmType == JvmType::Default && preferred.empty()) {
      for (const JreCandidate& c : list) {
        EXPECT_TRUE(!c.probed || c.verdict != Verdict::RankedLower) << "nothing below the one taken is probed";
      }
    }
  }
}

// In a UTF-8 process only the releases that read its text are looked at,
// within the bounds as always.
TEST(RuntimeFilter, AUtf8ProcessTakesOnlyReleasesThatReadIt) {
  const struct {
    const char16_t* version;
    Verdict ansi, utf8;
  } cases[] = {
      {u"1.8.0_392", Verdict::Open, Verdict::TooOldForUtf8},   {u"11.0.16", Verdict::Open, Verdict::TooOldForUtf8},
      {u"11.0.17", Verdict::Open, Verdict::Open},              {u"17.0.4.1", Verdict::Open, Verdict::TooOldForUtf8},
      {u"17.0.5", Verdict::Open, Verdict::Open},               {u"18.0.2", Verdict::Open, Verdict::TooOldForUtf8},
      {u"19", Verdict::Open, Verdict::Open},                   {u"26", Verdict::OutsideBounds, Verdict::OutsideBounds},
  };
  RuntimeFilter filter;
  parseVersion(u"25.9", 65535, filter.maxVersion);
  for (const auto& c : cases) {
    VersionNumber version;
    parseVersion(c.version, 0, version);
    filter.utf8Process = false;
    EXPECT_EQ(filter.versionRejection(version), c.ansi) << toUtf8(c.version);
    filter.utf8Process = true;
    EXPECT_EQ(filter.versionRejection(version), c.utf8) << toUtf8(c.version);
  }
}

TEST(ReleaseFile, VersionAndVmFromTheReleaseText) {
  const struct {
    std::string text;
    bool hasVersion;
    const char16_t* version;
    bool openJ9;
  } cases[] = {
      {"IMPLEMENTOR=\"Eclipse Adoptium\"\nJAVA_VERSION=\"21.0.5\"\nJVM_VARIANT=\"Hotspot\"\n", true, u"21.0.5", false},
      {"JAVA_VERSION=\"1.8.0_392\"\r\nJVM_VARIANT=\"Openj9\"\r\n", true, u"1.8.0.392", true},
      {"JAVA_VERSION_DATE=\"2024-10-15\"\nJAVA_RUNTIME_VERSION=\"21.0.5+11\"\n", false, u"", false},
      {"", false, u"", false},
      {"JAVA_VERSION=\"\"\n", false, u"", false},
      {"JAVA_VERSION=17\n", true, u"17", false},
      {std::string(70000, 'x') + "\nJAVA_VERSION=\"17\"", true, u"17", false},
  };
  for (const auto& c : cases) {
    const ReleaseInfo info = parseReleaseText(c.text);
    EXPECT_EQ(info.hasVersion, c.hasVersion) << c.text.substr(0, 60);
    if (c.hasVersion) {
      EXPECT_EQ(formatVersion(info.version), c.version) << c.text.substr(0, 60);
    }
    EXPECT_EQ(info.openJ9, c.openJ9) << c.text.substr(0, 60);
  }
}

}  // namespace
