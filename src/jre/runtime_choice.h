#pragma once
// Choosing among the Java runtimes found installed: ranking, preferences, and
// what became of each candidate.
#include <cstdint>
#include <functional>
#include <vector>

#include "common/text.h"
#include "jre/version_number.h"

// "JVM Type": which VM library a runtime must have, or should have first.
enum class JvmType : int32_t { Default = 0, Server = 1, FavorServer = 2 };

enum class RuntimeKind : uint8_t { Jdk, Jre };
enum class VendorFamily : uint8_t { Sun, JRockit, Ibm };

// What became of a candidate, for reports; Open until it is judged.
enum class Verdict : uint8_t {
  Open,
  Taken,
  RankedLower,      // a better one was taken first
  OutsideBounds,    // "Minimum Version" / "Maximum Version"
  TooOldForUtf8,    // misreads the text of a process whose code page is UTF-8
  KindNotWanted,    // "JVM Source"
  VendorNotWanted,  // "VM Provider"
  NoHomeFolder,     // the registry value or variable is empty or not text
  NoJavaLibrary,    // the folder has no bin\java.dll (or does not exist)
  NoJvmLibrary,     // no jvm.dll of the "JVM Type"
  OtherMachine,     // only the paired product could load it
  UnknownMachine,   // neither product can load it
};

// Why a candidate was or was not taken, in a few words.
const char* verdictText(Verdict verdict);

struct JreCandidate {
  VersionNumber version;  // from the version key's name, or the runtime's release file
  String homeFolder;      // ends in a backslash
  bool hasServerVm = false;
  bool favoured = false;  // kind and vendor both preferred by the settings

  // Where it was seen (a registry key, a variable), and what it is.
  String source;
  RuntimeKind kind = RuntimeKind::Jre;
  VendorFamily family = VendorFamily::Sun;
  bool otherView = false;  // found in the paired product's registry view
  uint16_t machine = 0;    // of its jvm.dll, once probed (0 unknown)
  JvmType probeType = JvmType::Default;  // the VM type its jvm.dll is looked up with
  bool probed = false;
  Verdict verdict = Verdict::Open;
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

// Judges a candidate by its files: true when it is usable, else false with
// the verdict set. Called at most once per candidate.
using CandidateProbe = std::function<bool(JreCandidate&)>;

// The choice of chooseCandidate among the Open candidates that the probe
// finds usable, probing from the best candidate down until one is: the
// taken one's index, or -1. Ranking by server VM needs every candidate
// probed first. The Open candidates left are RankedLower, probed first when
// `judgeEvery` so that an unusable one says why.
int pickCandidate(std::vector<JreCandidate>& candidates, const RankingRules& rules,
                  const StringList& preferredVersions, const CandidateProbe& probe, bool judgeEvery);
