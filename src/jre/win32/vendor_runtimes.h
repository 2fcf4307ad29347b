#pragma once
// Runtimes that today's installers register only under their own vendor
// keys (per machine and per user), and the one JAVA_HOME names: searched
// after the classic registry keys.
#include <vector>

#include "common/text.h"
#include "jre/runtime_choice.h"
#include "jre/runtime_filter.h"
#include "jre/win32/runtime_search.h"

struct OtherInstallation {
  FoundRuntime runtime;
  // Its jvm.dll is for the paired product's machine: the launch goes there.
  bool otherMachine = false;
};

// The best such runtime of this launcher's machine; without one, and with
// `pairAllowed`, the best of the paired product's machine. False when none
// fits. With `seen`, every runtime found is added to it with its verdict.
bool searchOtherInstallations(const RuntimeFilter& filter, bool pairAllowed, OtherInstallation& found,
                              std::vector<JreCandidate>* seen = nullptr);
