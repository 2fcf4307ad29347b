#include "jre/runtime_choice.h"

#include <algorithm>

namespace {

// Whether `later` ranks higher than `earlier`, by the first rule that tells them apart.
bool ranksHigher(const JreCandidate& later, const JreCandidate& earlier, const RankingRules& rules) {
  if (rules.jvmSourceFavor && later.favoured != earlier.favoured) return later.favoured;
  if (rules.jvmType == JvmType::FavorServer && later.hasServerVm != earlier.hasServerVm) return later.hasServerVm;
  return compareVersions(later.version, earlier.version) > 0;
}

}  // namespace

void sortCandidates(std::vector<JreCandidate>& candidates, const RankingRules& rules) {
  // Stable: candidates that rank equally keep the order in which they were found.
  std::stable_sort(candidates.begin(), candidates.end(),
                   [&](const JreCandidate& a, const JreCandidate& b) { return ranksHigher(a, b, rules); });
}

bool chooseCandidate(std::vector<JreCandidate>& candidates, const RankingRules& rules,
                     const StringList& preferredVersions, JreCandidate& chosen) {
  if (candidates.empty()) return false;
  sortCandidates(candidates, rules);
  for (const String& text : preferredVersions) {
    VersionNumber entry;
    parseVersion(text, 0, entry);
    for (const JreCandidate& candidate : candidates) {
      if (matchesPreferred(candidate.version, entry)) {
        chosen = candidate;
        return true;
      }
    }
  }
  chosen = candidates.front();
  return true;
}
