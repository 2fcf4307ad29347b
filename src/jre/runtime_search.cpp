#include "jre/runtime_search.h"

#include <algorithm>
#include <vector>

#include "common/file_system.h"
#include "common/path_components.h"
#include "common/unique_resource.h"
#include "common/win_text.h"
#include "jre/runtime_choice.h"

namespace {

enum Kind { Jdk, Jre };
enum Vendor { Sun, JRockit, Ibm };

struct RuntimeKey {
  const char16_t* path;
  Kind kind;
  Vendor vendor;
  bool homeBelowJre;  // old-style JDK keys: the runtime lies in JavaHome\jre
};

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

// The registry view of a pass: this executable's own, or the other one,
// where the paired product's runtimes are registered.
REGSAM viewFlag(bool pairPass) {
#ifdef _WIN64
  return pairPass ? KEY_WOW64_32KEY : 0;
#else
  return pairPass ? KEY_WOW64_64KEY : 0;
#endif
}

UniqueKey openKey(const String& path, bool pairPass) {
  UniqueKey key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, wide(path), 0, KEY_READ | viewFlag(pairPass), key.put()) != ERROR_SUCCESS) {
    key.release();  // nothing was opened
  }
  return key;
}

bool searched(const RuntimeKey& key, const RuntimeFilter& filter) {
  bool kind = filter.jvmSourceFavor || (key.kind == Jdk ? filter.allowJdk : filter.allowJre);
  bool vendor = key.vendor == Sun       ? filter.allowSun || filter.favorSun
                : key.vendor == JRockit ? filter.allowJRockit || filter.favorJRockit
                                        : filter.allowIbm || filter.favorIbm;
  return kind && vendor;
}

bool favoured(const RuntimeKey& key, const RuntimeFilter& filter) {
  bool kind = key.kind == Jdk ? filter.allowJdk : filter.allowJre;
  bool vendor = key.vendor == Sun ? filter.favorSun : key.vendor == JRockit ? filter.favorJRockit : filter.favorIbm;
  return kind && vendor;
}

// What the VM library probes found in a home folder, per VM type asked for.
// Installers register one runtime under several version keys (1.8 and
// 1.8.0_231, say): its folder is probed once per search.
struct ProbedHome {
  String home;
  JvmType type;
  bool found;
  bool server;
};
using ProbedHomes = std::vector<ProbedHome>;

// The home folder and server-VM flag of one version key; false when it names
// no usable runtime.
bool inspectVersionKey(const RuntimeKey& runtimeKey, const String& name, const RuntimeFilter& filter, bool pairPass,
                       ProbedHomes& probed, JreCandidate& candidate) {
  UniqueKey key = openKey(String(runtimeKey.path) + name, pairPass);
  if (!key) return false;
  DWORD size = 0;
  bool ok = RegQueryValueExW(key.get(), L"JavaHome", nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS && size > 0;
  String home;
  if (ok) {
    home.assign(size / sizeof(wchar_t) + 1, u'\0');
    DWORD read = static_cast<DWORD>(home.size() * sizeof(wchar_t));
    ok = RegQueryValueExW(key.get(), L"JavaHome", nullptr, nullptr, reinterpret_cast<BYTE*>(wideBuffer(home)),
                          &read) == ERROR_SUCCESS;
    home.resize(home.find(u'\0') == String::npos ? home.size() : home.find(u'\0'));
  }
  if (!ok || home.empty()) return false;

  home = withTrailingBackslash(home);
  if (runtimeKey.homeBelowJre) home += u"jre\\";
  // For these runtimes the client VM is looked for first even when a server
  // VM is favoured.
  JvmType type =
      (&runtimeKey == &kClassicJreKey && filter.jvmType == JvmType::FavorServer) ? JvmType::Default : filter.jvmType;
  auto probe = std::find_if(probed.begin(), probed.end(),
                            [&](const ProbedHome& p) { return p.type == type && p.home == home; });
  if (probe == probed.end()) {
    bool server = false;
    const bool found = !findJvmLibrary(home, type, &server).empty();
    probe = probed.insert(probed.end(), ProbedHome{home, type, found, server});
  }
  if (!probe->found) return false;
  candidate.homeFolder = home;
  candidate.hasServerVm = probe->server;
  return true;
}

void collectRuntimes(const RuntimeKey& runtimeKey, const RuntimeFilter& filter, bool pairPass, ProbedHomes& probed,
                     std::vector<JreCandidate>& candidates) {
  UniqueKey key = openKey(runtimeKey.path, pairPass);
  if (!key) return;
  for (DWORD index = 0;; ++index) {
    wchar_t name[MAX_PATH];
    DWORD length = MAX_PATH;
    if (RegEnumKeyExW(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    JreCandidate candidate;
    String versionName = fromWide(name, length);
    parseVersion(versionName, 0, candidate.version);
    if (!withinBounds(candidate.version, filter.minVersion, filter.maxVersion)) continue;
    if (!inspectVersionKey(runtimeKey, versionName, filter, pairPass, probed, candidate)) continue;
    candidate.favoured = favoured(runtimeKey, filter);
    candidates.push_back(candidate);
  }
}

}  // namespace

bool hasJavaLibrary(const String& folder) { return fileExists(folder + u"bin\\java.dll"); }

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
    if (!fileExists(home + probe.name)) return false;
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

bool searchInstalledRuntimes(const RuntimeFilter& filter, bool pairedView, FoundRuntime& found) {
  std::vector<JreCandidate> candidates;
  ProbedHomes probed;
  for (const RuntimeKey& key : kRuntimeKeys) {
    if (searched(key, filter)) collectRuntimes(key, filter, pairedView, probed, candidates);
  }
  JreCandidate chosen;
  if (!chooseCandidate(candidates, RankingRules{filter.jvmSourceFavor, filter.jvmType}, filter.preferredVersions,
                       chosen)) {
    return false;
  }
  found.home = chosen.homeFolder;
  found.version = chosen.version;
  return true;
}
