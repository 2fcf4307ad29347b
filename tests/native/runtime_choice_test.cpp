#include "jre/runtime_choice.h"

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

}  // namespace
