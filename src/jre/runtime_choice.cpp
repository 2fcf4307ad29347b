#include "jre/runtime_choice.h"

#include <algorithm>

namespace {

// Whether `later` ranks higher than `earlier`, by the first rule that tells them apart.
bool ranksHigher(const JreCandidate& later, const JreCandidate& earlier, const RankingRules& rules) {
  if (rules.jvmSourceFavor && later.favoured != earlier.favoured) return later.favoured;
  if (rules.jvmType == JvmType::FavorServer && later.hasServerVm != earlier.hasServerVm) return later.hasServerVm;
  return compareVersions(later.version, earlier.version) > 0;
}

// True when the candidate is usable, probing it the first time.
bool usable(JreCandidate& candidate, const CandidateProbe& probe) {
  if (!candidate.probed) {
    candidate.probed = true;
    if (!probe(candidate) && candidate.verdict == Verdict::Open) candidate.verdict = Verdict::NoJvmLibrary;
  }
  return candidate.verdict == Verdict::Open;
}

// Orders the indices from the highest-ranked candidate down; candidates that
// rank equally keep the order in which they were found.
void rankIndices(std::vector<size_t>& indices, const std::vector<JreCandidate>& candidates,
                 const RankingRules& rules) {
  std::sort(indices.begin(), indices.end(), [&](size_t a, size_t b) {
    if (ranksHigher(candidates[a], candidates[b], rules)) return true;
    if (ranksHigher(candidates[b], candidates[a], rules)) return false;
    return a < b;
  });
}

}  // namespace

const char* verdictText(Verdict verdict) {
  switch (verdict) {
    case Verdict::Open: return "not judged";
    case Verdict::Taken: return "taken";
    case Verdict::RankedLower: return "ranked below the one taken";
    case Verdict::OutsideBounds: return "version outside Minimum/Maximum Version";
    case Verdict::TooOldForUtf8: return "too old for a UTF-8 process (needs 11.0.17, 17.0.5 or 19 and later)";
    case Verdict::KindNotWanted: return "kind not wanted by JVM Source";
    case Verdict::VendorNotWanted: return "vendor not wanted by VM Provider";
    case Verdict::NoHomeFolder: return "no folder named (empty, or not text)";
    case Verdict::NoJavaLibrary: return "no bin\\java.dll (no runtime there)";
    case Verdict::NoJvmLibrary: return "no jvm.dll of the JVM Type";
    case Verdict::OtherMachine: return "built for the other machine (needs Pair Product)";
    case Verdict::UnknownMachine: return "built for a machine neither launcher runs on";
  }
  return "";
}

void sortCandidates(std::vector<JreCandidate>& candidates, const RankingRules& rules) {
  std::vector<size_t> order(candidates.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  rankIndices(order, candidates, rules);
  std::vector<JreCandidate> sorted;
  sorted.reserve(candidates.size());
  for (size_t i : order) sorted.push_back(std::move(candidates[i]));
  candidates = std::move(sorted);
}

bool chooseCandidate(std::vector<JreCandidate>& candidates, const RankingRules& rules,
                     const StringList& preferredVersions, JreCandidate& chosen) {
  sortCandidates(candidates, rules);
  const int taken = pickCandidate(candidates, rules, preferredVersions, [](JreCandidate&) { return true; }, false);
  if (taken < 0) return false;
  chosen = candidates[static_cast<size_t>(taken)];
  return true;
}

int pickCandidate(std::vector<JreCandidate>& candidates, const RankingRules& rules,
                  const StringList& preferredVersions, const CandidateProbe& probe, bool judgeEvery) {
  std::vector<size_t> ranked;
  for (size_t i = 0; i < candidates.size(); ++i) {
    if (candidates[i].verdict != Verdict::Open) continue;
    if (rules.jvmType == JvmType::FavorServer && !usable(candidates[i], probe)) continue;
    ranked.push_back(i);
  }
  rankIndices(ranked, candidates, rules);

  // The order chooseCandidate takes them in: those matching the first
  // preferred entry, then the next entry's, then all.
  std::vector<size_t> order;
  for (const String& text : preferredVersions) {
    VersionNumber entry;
    parseVersion(text, 0, entry);
    for (size_t i : ranked) {
      if (matchesPreferred(candidates[i].version, entry)) order.push_back(i);
    }
  }
  order.insert(order.end(), ranked.begin(), ranked.end());

  int taken = -1;
  for (size_t i : order) {
    if (candidates[i].verdict == Verdict::Open && usable(candidates[i], probe)) {
      candidates[i].verdict = Verdict::Taken;
      taken = static_cast<int>(i);
      break;
    }
  }
  for (size_t i : ranked) {
    if (candidates[i].verdict != Verdict::Open) continue;
    if (!judgeEvery || usable(candidates[i], probe)) candidates[i].verdict = Verdict::RankedLower;
  }
  return taken;
}
