#pragma once
// Choosing among the Java runtimes found installed: ranking and preferences.
#include <vector>

#include "common/text.h"
#include "jre/version_number.h"

struct JreCandidate {
  VersionNumber version;  // from the version key's name
  String homeFolder;      // ends in a backslash
  bool hasServerVm = false;
  bool favoured = false;  // kind and vendor both preferred by the settings
};

struct RankingRules {
  bool jvmSourceFavor = true;  // favoured candidates first
  int32_t jvmType = 0;         // 2: candidates with a server VM first
};

// Stable: candidates that no rule tells apart keep their collected order.
void sortCandidates(std::vector<JreCandidate>& candidates, const RankingRules& rules);

// Sorts, then takes the first candidate that matches the first preferred
// entry that matches any, else the first candidate. False when there is none.
bool chooseCandidate(std::vector<JreCandidate>& candidates, const RankingRules& rules,
                     const StringList& preferredVersions, JreCandidate& chosen);
