#pragma once
// Choosing among the Java runtimes found installed: ranking and preferences.
#include <vector>

#include "common/text.h"
#include "jre/version_number.h"

// "JVM Type": which VM library a runtime must have, or should have first.
enum class JvmType : int32_t { Default = 0, Server = 1, FavorServer = 2 };

struct JreCandidate {
  VersionNumber version;  // from the version key's name
  String homeFolder;      // ends in a backslash
  bool hasServerVm = false;
  bool favoured = false;  // kind and vendor both preferred by the settings
};

struct RankingRules {
  bool jvmSourceFavor = true;  // favoured candidates first
  JvmType jvmType = JvmType::Default;  // FavorServer: candidates with a server VM first
};

// Stable: candidates that no rule tells apart keep their collected order.
void sortCandidates(std::vector<JreCandidate>& candidates, const RankingRules& rules);

// Sorts, then takes the first candidate that matches the first preferred
// entry that matches any, else the first candidate. False when there is none.
bool chooseCandidate(std::vector<JreCandidate>& candidates, const RankingRules& rules,
                     const StringList& preferredVersions, JreCandidate& chosen);
