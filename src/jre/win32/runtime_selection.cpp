#include "jre/win32/runtime_selection.h"

#include <windows.h>

#include "common/path_components.h"
#include "common/win32/win_text.h"
#include "jre/win32/machine_check.h"
#include "jre/win32/runtime_search.h"
#include "jre/win32/vendor_runtimes.h"

namespace {

// Tells the report what a stage saw. A runtime a later stage would take is
// only ranked lower than the one an earlier stage chose.
class StageLog {
 public:
  StageLog(SelectionReport* report, const bool& chosen, const SelectedRuntime& selected)
      : report_(report), chosen_(chosen), selected_(selected) {}

  void add(SelectionStage stage, JreCandidate candidate) {
    if (!report_) return;
    if (chosen_ && selected_.stage != stage && candidate.verdict == Verdict::Taken) {
      candidate.verdict = Verdict::RankedLower;
    }
    report_->push_back({stage, std::move(candidate)});
  }
  void add(SelectionStage stage, std::vector<JreCandidate>& candidates) {
    for (JreCandidate& candidate : candidates) add(stage, std::move(candidate));
    candidates.clear();
  }
  std::vector<JreCandidate>* seen() { return report_ ? &seen_ : nullptr; }
  std::vector<JreCandidate>& seenList() { return seen_; }

 private:
  SelectionReport* report_;
  const bool& chosen_;
  const SelectedRuntime& selected_;
  std::vector<JreCandidate> seen_;
};

// A folder taken as it is: no version, kind or vendor test.
JreCandidate folderCandidate(const String& home, const char16_t* source, JvmType type, String& jvmDll) {
  JreCandidate candidate;
  candidate.source = source;
  candidate.homeFolder = home;
  candidate.probed = true;
  jvmDll = findJvmLibrary(home, type, &candidate.hasServerVm);
  candidate.verdict = jvmDll.empty() ? Verdict::NoJvmLibrary : Verdict::Taken;
  if (!jvmDll.empty()) candidate.machine = imageMachine(jvmDll);
  return candidate;
}

}  // namespace

const char* machineName(uint16_t machine) {
  switch (machine) {
    case IMAGE_FILE_MACHINE_I386: return "x86";
    case IMAGE_FILE_MACHINE_AMD64: return "x64";
    case 0xAA64: return "arm64";
    case 0: return "-";
    default: return "other";
  }
}

std::string describeSeenRuntime(const SeenRuntime& seen) {
  const JreCandidate& c = seen.candidate;
  const bool known = !c.homeFolder.empty();
  const bool folderStage =
      seen.stage == SelectionStage::ConfiguredFolder || seen.stage == SelectionStage::BesideExecutable;
  std::string line = std::string(stageName(seen.stage)) + ": ";
  line += known ? toUtf8(c.homeFolder) : "(no folder)";
  if (!folderStage) {
    line += std::string("  version ") + toUtf8(formatVersion(c.version)) + ", " +
            (c.kind == RuntimeKind::Jdk ? "JDK" : "JRE") + ", " +
            (c.family == VendorFamily::Ibm ? "IBM" : c.family == VendorFamily::JRockit ? "JRockit" : "Sun");
  }
  line += std::string(", machine ") + machineName(c.machine);
  line += std::string("\n    ") + verdictText(c.verdict) + "  [" + toUtf8(c.source) + "]\n";
  return line;
}

const char* stageName(SelectionStage stage) {
  switch (stage) {
    case SelectionStage::ConfiguredFolder: return "JRE Path";
    case SelectionStage::BesideExecutable: return "beside the executable";
    case SelectionStage::Registry: return "registry";
    case SelectionStage::RegistryOtherView: return "registry, paired view";
    case SelectionStage::OtherInstallations: return "other installations";
  }
  return "";
}

bool handOverNamedRuntime(const SelectionRequest& request, const String& jvmDll) {
  return request.pairAllowed && builtForPairedMachine(jvmDll);
}

bool selectInstalledRuntime(const SelectionRequest& request, SelectedRuntime& selected, SelectionReport* report) {
  bool chosen = false;
  StageLog log(report, chosen, selected);
  const JvmType type = request.filter.jvmType;
  auto choose = [&](SelectionStage stage, const String& jvmDll, const VersionNumber& version, bool handOver) {
    if (chosen) return;
    selected = SelectedRuntime{stage, jvmDll, version, handOver};
    chosen = true;
  };

  if (!request.jrePath.empty()) {
    String jvmDll;
    JreCandidate candidate =
        folderCandidate(withTrailingBackslash(request.jrePath), u"JRE Path", type, jvmDll);
    if (!jvmDll.empty()) {
      choose(SelectionStage::ConfiguredFolder, jvmDll, {}, handOverNamedRuntime(request, jvmDll));
    }
    log.add(SelectionStage::ConfiguredFolder, std::move(candidate));
  }
  if (chosen && !report) return true;

  // A runtime shipped with the application is used as it is: no machine check.
  // Without one there is nothing to look up: an empty home would make the
  // lookup search the current directory.
  if (!request.executableFolder.empty()) {
    for (const String& home : {request.executableFolder, request.executableFolder + u"jre\\"}) {
      if (!hasJavaLibrary(home)) continue;
      String jvmDll;
      JreCandidate candidate = folderCandidate(home, u"beside the executable", type, jvmDll);
      if (!jvmDll.empty()) choose(SelectionStage::BesideExecutable, jvmDll, {}, false);
      log.add(SelectionStage::BesideExecutable, std::move(candidate));
      break;
    }
  }
  if (chosen && !report) return true;

  // The classic keys: the own view, then the paired product's view, whose
  // runtime hands the launch over.
  for (bool otherView : {false, true}) {
    if (otherView && !request.pairAllowed) break;
    FoundRuntime found;
    const SelectionStage stage = otherView ? SelectionStage::RegistryOtherView : SelectionStage::Registry;
    if (searchInstalledRuntimes(request.filter, otherView, found, log.seen())) {
      choose(stage, findJvmLibrary(found.home, type), found.version, otherView);
    }
    log.add(stage, log.seenList());
    if (chosen && !report) return !selected.jvmDll.empty();
  }

  if (request.filter.searchOtherInstallations) {
    OtherInstallation found;
    if (searchOtherInstallations(request.filter, request.pairAllowed, found, log.seen())) {
      choose(SelectionStage::OtherInstallations, findJvmLibrary(found.runtime.home, type), found.runtime.version,
             found.otherMachine);
    }
    log.add(SelectionStage::OtherInstallations, log.seenList());
  }
  return chosen && !selected.jvmDll.empty();
}
