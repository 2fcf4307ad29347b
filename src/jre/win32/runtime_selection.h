#pragma once
// The stages that choose the launch's runtime, in order: the configured
// folder, the folder beside the executable, the classic registry keys (this
// launcher's view, then the paired product's), then other installations
// (vendor keys and JAVA_HOME). The JRE-not-found dialog comes after them.
#include <string>
#include <vector>

#include "common/text.h"
#include "jre/runtime_choice.h"
#include "jre/runtime_filter.h"

enum class SelectionStage { ConfiguredFolder, BesideExecutable, Registry, RegistryOtherView, OtherInstallations };

// The stage's name in reports.
const char* stageName(SelectionStage stage);

struct SelectionRequest {
  RuntimeFilter filter;
  String jrePath;           // "JRE Path", as configured or remembered
  String executableFolder;  // ends in a backslash; empty skips that stage
  bool pairAllowed = false;  // a paired product is configured and did not start this launch
};

struct SelectedRuntime {
  SelectionStage stage = SelectionStage::ConfiguredFolder;
  String jvmDll;
  VersionNumber version;  // known from the registry and other installations only
  bool handOver = false;  // the paired product is to run it
};

// Whether a runtime the user named (in "JRE Path" or in the JRE-not-found
// dialog) goes to the paired product: it may take launches and the runtime
// is built for its machine.
bool handOverNamedRuntime(const SelectionRequest& request, const String& jvmDll);

struct SeenRuntime {
  SelectionStage stage;
  JreCandidate candidate;
};
using SelectionReport = std::vector<SeenRuntime>;

// "x86", "x64", "arm64" for a PE machine; "-" when unknown.
const char* machineName(uint16_t machine);

// Two lines on a runtime a stage saw: its stage, folder, version, kind,
// vendor family and machine; then its verdict and where it was found.
std::string describeSeenRuntime(const SeenRuntime& seen);

// The runtime of the first stage that yields one; false when none does. With
// `report`, every runtime each stage saw is added with its verdict, and the
// stages go on after the choice, so that the report lists them all.
bool selectInstalledRuntime(const SelectionRequest& request, SelectedRuntime& selected,
                            SelectionReport* report = nullptr);
