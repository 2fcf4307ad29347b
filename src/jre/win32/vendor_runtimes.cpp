#include "jre/win32/vendor_runtimes.h"

#include <windows.h>

#include <string>

#include "common/win32/environment.h"
#include "common/win32/file_system.h"
#include "common/path_components.h"
#include "common/win32/unique_resource.h"
#include "common/win32/win_text.h"
#include "jre/win32/machine_check.h"
#include "jre/release_file.h"

namespace {

using enum VendorFamily;

// Where below a version key the home folder is written, and by which VM.
struct HomeValue {
  const char16_t* subkey;  // "" for the version key itself
  const wchar_t* value;
  VendorFamily family;
};

// A vendor's key whose subkeys are its versions (21.0.5.11, zulu-21, ...).
struct VendorKey {
  const char16_t* path;  // below SOFTWARE
  std::initializer_list<HomeValue> homes;
};

const std::initializer_list<HomeValue> kAdoptiumHomes = {
    {u"hotspot\\MSI", L"Path", Sun}, {u"hotspot\\EXE", L"Path", Sun}, {u"openj9\\MSI", L"Path", Ibm}};

// "JavaHome" in the Adoptium-style keys is a DWORD flag, never a folder.
const VendorKey kVendorKeys[] = {
    {u"Eclipse Adoptium\\JDK", kAdoptiumHomes},
    {u"Eclipse Adoptium\\JRE", kAdoptiumHomes},
    {u"Eclipse Foundation\\JDK", kAdoptiumHomes},
    {u"Eclipse Foundation\\JRE", kAdoptiumHomes},
    {u"AdoptOpenJDK\\JDK", kAdoptiumHomes},
    {u"AdoptOpenJDK\\JRE", kAdoptiumHomes},
    {u"Microsoft\\JDK", {{u"hotspot\\MSI", L"Path", Sun}}},
    {u"Semeru\\JDK", {{u"openj9\\MSI", L"Path", Ibm}}},
    {u"Semeru\\JRE", {{u"openj9\\MSI", L"Path", Ibm}}},
    {u"Azul Systems\\Zulu", {{u"", L"InstallationPath", Sun}}},
    {u"Azul Systems\\Zulu 32-bit", {{u"", L"InstallationPath", Sun}}},
    {u"BellSoft\\Liberica", {{u"", L"InstallationPath", Sun}}},
    {u"SapMachine\\JDK", {{u"", L"JavaHome", Sun}}},
    {u"SapMachine\\JRE", {{u"", L"JavaHome", Sun}}},
};

class Collector {
 public:
  Collector(const RuntimeFilter& filter, bool listAll) : filter_(filter), listAll_(listAll) {}

  // A candidate for `folder` as the registry or the variable gives it; the
  // version from the release file, else from `versionName`.
  void add(String source, const String& folder, StringView versionName, VendorFamily keyFamily, bool otherView) {
    JreCandidate candidate;
    candidate.source = std::move(source);
    candidate.otherView = otherView;
    candidate.family = keyFamily;
    candidate.probeType = filter_.jvmType;
    if (folder.empty()) {
      candidate.verdict = Verdict::NoHomeFolder;
      if (listAll_) candidates_.push_back(std::move(candidate));
      return;
    }
    candidate.homeFolder = withTrailingBackslash(folder);
    for (const JreCandidate& known : candidates_) {
      if (equalsIgnoreCase(known.homeFolder, candidate.homeFolder)) return;  // one runtime, several keys
    }
    const ReleaseInfo release = readReleaseFile(candidate.homeFolder);
    if (release.hasVersion) {
      candidate.version = release.version;
    } else {
      parseVersion(versionName, 0, candidate.version);
    }
    if (release.openJ9) candidate.family = Ibm;
    candidate.kind = fileOrFolderExists(candidate.homeFolder + u"bin\\javac.exe") ? RuntimeKind::Jdk : RuntimeKind::Jre;
    candidate.favoured = filter_.favours(candidate.kind, candidate.family);
    candidate.verdict = filter_.rejection(candidate.kind, candidate.family);
    if (candidate.verdict == Verdict::Open) candidate.verdict = filter_.versionRejection(candidate.version);
    candidates_.push_back(std::move(candidate));
  }

  void addVendorKeys(HKEY root, const char16_t* rootName, bool otherView) {
    for (const VendorKey& vendor : kVendorKeys) {
      const String base = u"SOFTWARE\\" + String(vendor.path);
      UniqueKey versions = openRegistryKey(root, base, otherView);
      if (!versions) continue;
      for (const String& name : subkeyNames(versions.get())) {
        for (const HomeValue& home : vendor.homes) {
          const String path = base + u"\\" + name + (*home.subkey ? u"\\" + String(home.subkey) : String());
          UniqueKey key = openRegistryKey(root, path, otherView);
          if (!key) continue;
          add(String(rootName) + u"\\" + path + u" " + fromWide(home.value), registryText(key.get(), home.value, true),
              name, home.family, otherView);
        }
      }
    }
  }

  void addJavaHome() {
    std::optional<String> value = environmentVariable(u"JAVA_HOME");
    if (!value) return;
    String folder = trimWhiteSpace(*value);
    // Written with quotes, as paths with spaces often are.
    if (folder.size() >= 2 && folder.front() == u'"' && folder.back() == u'"') folder = folder.substr(1, folder.size() - 2);
    add(u"JAVA_HOME", folder, u"", Sun, false);
  }

  std::vector<JreCandidate>& candidates() { return candidates_; }

 private:
  const RuntimeFilter& filter_;
  const bool listAll_;
  std::vector<JreCandidate> candidates_;
};

// A usable runtime has bin\java.dll and a jvm.dll of the "JVM Type" that this
// launcher (or, on the second pass, its paired product) can load.
struct InstallationProbe {
  bool operator()(JreCandidate& candidate) const {
    if (!hasJavaLibrary(candidate.homeFolder)) {
      candidate.verdict = Verdict::NoJavaLibrary;
      return false;
    }
    const String jvmDll = findJvmLibrary(candidate.homeFolder, candidate.probeType, &candidate.hasServerVm);
    if (jvmDll.empty()) {
      candidate.verdict = Verdict::NoJvmLibrary;
      return false;
    }
    candidate.machine = imageMachine(jvmDll);
    if (candidate.machine == ownMachine()) return true;
    candidate.verdict = candidate.machine == pairedMachine() ? Verdict::OtherMachine : Verdict::UnknownMachine;
    return false;
  }
};

}  // namespace

bool searchOtherInstallations(const RuntimeFilter& filter, bool pairAllowed, OtherInstallation& found,
                              std::vector<JreCandidate>* seen) {
  Collector collector(filter, seen != nullptr);
  collector.addVendorKeys(HKEY_LOCAL_MACHINE, u"HKLM", false);
  collector.addVendorKeys(HKEY_CURRENT_USER, u"HKCU", false);
  if (pairAllowed) {
    collector.addVendorKeys(HKEY_LOCAL_MACHINE, u"HKLM", true);
    collector.addVendorKeys(HKEY_CURRENT_USER, u"HKCU", true);
  }
  collector.addJavaHome();

  std::vector<JreCandidate>& candidates = collector.candidates();
  const RankingRules rules = filter.rankingRules();
  int taken = pickCandidate(candidates, rules, filter.preferredVersions, InstallationProbe(), seen != nullptr);
  found.otherMachine = false;
  if (taken < 0 && pairAllowed) {
    // Only runtimes of the other machine fit: the paired product runs them.
    for (JreCandidate& candidate : candidates) {
      if (candidate.verdict == Verdict::OtherMachine) candidate.verdict = Verdict::Open;
    }
    taken = pickCandidate(candidates, rules, filter.preferredVersions, InstallationProbe(), seen != nullptr);
    found.otherMachine = taken >= 0;
  }
  if (seen) seen->insert(seen->end(), candidates.begin(), candidates.end());
  if (taken < 0) return false;
  found.runtime.home = candidates[static_cast<size_t>(taken)].homeFolder;
  found.runtime.version = candidates[static_cast<size_t>(taken)].version;
  return true;
}
