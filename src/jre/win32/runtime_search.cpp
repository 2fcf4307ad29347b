#include "jre/win32/runtime_search.h"

#include <algorithm>
#include <vector>

#include "common/win32/file_system.h"
#include "common/path_components.h"
#include "common/win32/unique_resource.h"
#include "common/win32/win_text.h"
#include "jre/runtime_choice.h"

namespace {

struct RuntimeKey {
  const char16_t* path;
  RuntimeKind kind;
  VendorFamily vendor;
  bool homeBelowJre;  // old-style JDK keys: the runtime lies in JavaHome\jre
};

using enum RuntimeKind;
using enum VendorFamily;
const RuntimeKey kRuntimeKeys[] = {
    {u"Software\\JavaSoft\\JDK\\", Jdk, Sun, false},
    {u"Software\\JavaSoft\\JRE\\", Jre, Sun, false},
    {u"Software\\JavaSoft\\Java Development Kit\\", Jdk, Sun, true},
    {u"Software\\JavaSoft\\Java Runtime Environment\\", Jre, Sun, false},
    {u"Software\\JRockit\\Java Runtime Environment\\", Jre, JRockit, false},
    {u"Software\\JRockit\\Java Development Kit\\", Jdk, JRockit, true},
    {u"Software\\IBM\\Java2 Runtime Environment\\", Jre, Ibm, false},
};
const RuntimeKey& kClassicJreKey = kRuntimeKeys[3];

UniqueKey openKey(const String& path, bool pairPass) { return openRegistryKey(HKEY_LOCAL_MACHINE, path, pairPass); }

// Where a candidate's version key lies, to read its "JavaHome" when the
// candidate comes up.
struct VersionKey {
  const RuntimeKey* runtimeKey;
  String name;
};

// The home folder a version key names, "" when it names none.
String readHome(const VersionKey& versionKey, bool pairPass) {
  UniqueKey key = openKey(String(versionKey.runtimeKey->path) + versionKey.name, pairPass);
  String home = key ? registryText(key.get(), L"JavaHome", false) : String();
  if (home.empty()) return home;
  return withTrailingBackslash(home) + (versionKey.runtimeKey->homeBelowJre ? u"jre\\" : u"");
}

// One candidate per version key, ranked by its name alone: its "JavaHome" is
// read, and its folder probed, only when it comes up (all of them for a list).
void collectRuntimes(const RuntimeKey& runtimeKey, const RuntimeFilter& filter, bool pairPass, bool listAll,
                     std::vector<JreCandidate>& candidates, std::vector<VersionKey>& versionKeys) {
  const Verdict rejected = filter.rejection(runtimeKey.kind, runtimeKey.vendor);
  // Keys the settings rule out are read only to be listed.
  if (rejected != Verdict::Open && !listAll) return;
  UniqueKey key = openKey(runtimeKey.path, pairPass);
  if (!key) return;
  for (String& name : subkeyNames(key.get())) {
    JreCandidate candidate;
    candidate.kind = runtimeKey.kind;
    candidate.family = runtimeKey.vendor;
    candidate.otherView = pairPass;
    candidate.favoured = filter.favours(runtimeKey.kind, runtimeKey.vendor);
    candidate.verdict = rejected;
    parseVersion(name, 0, candidate.version);
    if (candidate.verdict == Verdict::Open) {
      candidate.verdict = filter.versionRejection(candidate.version);
      if (candidate.verdict != Verdict::Open && !listAll) continue;
    }
    candidate.source = u"HKLM\\" + String(runtimeKey.path) + name;
    // For these runtimes the client VM is looked for first even when a
    // server VM is favoured.
    candidate.probeType = (&runtimeKey == &kClassicJreKey && filter.jvmType == JvmType::FavorServer)
                              ? JvmType::Default
                              : filter.jvmType;
    VersionKey versionKey{&runtimeKey, std::move(name)};
    if (listAll) {
      candidate.homeFolder = readHome(versionKey, pairPass);
      if (candidate.homeFolder.empty() && candidate.verdict == Verdict::Open) candidate.verdict = Verdict::NoHomeFolder;
    }
    candidates.push_back(std::move(candidate));
    versionKeys.push_back(std::move(versionKey));
  }
}

// Reads a candidate's home when it comes up and probes its VM library.
// Installers register one runtime under several version keys (1.8 and
// 1.8.0_231, say): its folder is probed once per VM type and search.
class VmProbe {
 public:
  VmProbe(const std::vector<JreCandidate>& candidates, const std::vector<VersionKey>& versionKeys, bool pairPass)
      : candidates_(candidates), versionKeys_(versionKeys), pairPass_(pairPass) {}

  bool operator()(JreCandidate& candidate) {
    if (candidate.homeFolder.empty()) {
      candidate.homeFolder = readHome(versionKeys_[static_cast<size_t>(&candidate - candidates_.data())], pairPass_);
      if (candidate.homeFolder.empty()) {
        candidate.verdict = Verdict::NoHomeFolder;
        return false;
      }
    }
    auto probe = std::find_if(probed_.begin(), probed_.end(), [&](const Probed& p) {
      return p.type == candidate.probeType && p.home == candidate.homeFolder;
    });
    if (probe == probed_.end()) {
      bool server = false;
      const bool found = !findJvmLibrary(candidate.homeFolder, candidate.probeType, &server).empty();
      probe = probed_.insert(probed_.end(), Probed{candidate.homeFolder, candidate.probeType, found, server});
    }
    candidate.hasServerVm = probe->server;
    return probe->found;
  }

 private:
  struct Probed {
    String home;
    JvmType type;
    bool found;
    bool server;
  };
  const std::vector<JreCandidate>& candidates_;
  const std::vector<VersionKey>& versionKeys_;
  const bool pairPass_;
  std::vector<Probed> probed_;
};

}  // namespace

bool hasJavaLibrary(const String& folder) { return fileOrFolderExists(folder + u"bin\\java.dll"); }

String findJvmLibrary(const String& home, JvmType jvmType, bool* serverVm) {
  struct Probe {
    const char16_t* name;
    bool server;
  };
  static const Probe probes[] = {
      {u"bin\\client\\jvm.dll", false}, {u"bin\\classic\\jvm.dll", false}, {u"bin\\hotspot\\jvm.dll", false},
      {u"bin\\server\\jvm.dll", true},  {u"bin\\jrockit\\jvm.dll", false},
  };
  auto found = [&](const Probe& probe) {
    if (!fileOrFolderExists(home + probe.name)) return false;
    if (serverVm) *serverVm = probe.server;
    return true;
  };
  if (jvmType == JvmType::Server || jvmType == JvmType::FavorServer) {
    if (found(probes[3])) return home + probes[3].name;
    if (jvmType == JvmType::Server) return String();
  }
  for (const Probe& probe : probes) {
    if (found(probe)) return home + probe.name;
  }
  return String();
}

REGSAM registryViewFlag(bool pairedView) {
#ifdef _WIN64
  return pairedView ? KEY_WOW64_32KEY : 0;
#else
  return pairedView ? KEY_WOW64_64KEY : 0;
#endif
}

UniqueKey openRegistryKey(HKEY root, const String& path, bool pairedView) {
  UniqueKey key;
  if (RegOpenKeyExW(root, wide(path), 0, KEY_READ | registryViewFlag(pairedView), key.put()) != ERROR_SUCCESS) {
    key.release();  // nothing was opened
  }
  return key;
}

String registryText(HKEY key, const wchar_t* name, bool textOnly) {
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || size == 0) return {};
  if (textOnly && type != REG_SZ && type != REG_EXPAND_SZ) return {};
  String text(size / sizeof(wchar_t) + 1, u'\0');
  DWORD read = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(wideBuffer(text)), &read) != ERROR_SUCCESS) {
    return {};
  }
  text.resize(text.find(u'\0') == String::npos ? text.size() : text.find(u'\0'));
  return text;
}

StringList subkeyNames(HKEY key) {
  StringList names;
  for (DWORD index = 0;; ++index) {
    wchar_t name[MAX_PATH];
    DWORD length = MAX_PATH;
    if (RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.push_back(fromWide(name, length));
  }
  return names;
}

bool searchInstalledRuntimes(const RuntimeFilter& filter, bool pairedView, FoundRuntime& found,
                             std::vector<JreCandidate>* seen) {
  std::vector<JreCandidate> candidates;
  std::vector<VersionKey> versionKeys;
  for (const RuntimeKey& key : kRuntimeKeys) {
    collectRuntimes(key, filter, pairedView, seen != nullptr, candidates, versionKeys);
  }
  const int taken = pickCandidate(candidates, filter.rankingRules(), filter.preferredVersions,
                                  VmProbe(candidates, versionKeys, pairedView), seen != nullptr);
  if (seen) seen->insert(seen->end(), candidates.begin(), candidates.end());
  if (taken < 0) return false;
  found.home = candidates[static_cast<size_t>(taken)].homeFolder;
  found.version = candidates[static_cast<size_t>(taken)].version;
  return true;
}
