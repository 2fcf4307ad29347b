#include "jre/runtime_filter.h"

#include "common/split_string.h"
#include "settings/settings_source.h"

namespace {

void readVersionBound(const String& value, int32_t anyValue, VersionNumber& version) {
  if (value == setting::kAnyVersion) {
    version = VersionNumber{{anyValue, anyValue, anyValue, anyValue}, 4};
  } else {
    parseVersion(value, anyValue, version);
  }
}

void readJvmSource(const String& value, RuntimeFilter& filter) {
  struct Row {
    const char16_t* name;
    bool favor, jdk, jre;
  };
  static const Row rows[] = {
      {setting::kFavorJre, true, false, true},
      {setting::kFavorJdk, true, true, false},
      {setting::kOnlyJdk, false, true, false},
      {setting::kOnlyJre, false, false, true},
  };
  if (value.empty()) {
    filter.allowJdk = filter.allowJre = true;
    return;
  }
  Row chosen{nullptr, false, false, false};
  for (const Row& row : rows) {
    if (value == row.name) chosen = row;
  }
  filter.jvmSourceFavor = chosen.favor;
  filter.allowJdk = chosen.jdk;
  filter.allowJre = chosen.jre;
}

void readVmProvider(const String& value, RuntimeFilter& filter) {
  struct Row {
    const char16_t* name;
    bool allowJRockit, favorJRockit, allowSun, favorSun, allowIbm, favorIbm;
  };
  static const Row rows[] = {
      {setting::kJRockit, true, true, false, false, false, false},
      {setting::kIbm, false, false, false, false, true, true},
      {setting::kFavorSun, true, false, true, true, true, false},
      {setting::kFavorJRockit, true, true, true, false, true, false},
      {setting::kFavorIbm, true, false, true, false, true, true},
      {setting::kAnyProvider, true, false, true, false, true, false},
  };
  if (value.empty()) return;
  for (const Row& row : rows) {
    if (!equalsIgnoreCase(value, row.name)) continue;
    filter.allowJRockit = row.allowJRockit;
    filter.favorJRockit = row.favorJRockit;
    filter.allowSun = row.allowSun;
    filter.favorSun = row.favorSun;
    filter.allowIbm = row.allowIbm;
    filter.favorIbm = row.favorIbm;
    return;
  }
}

}  // namespace

bool RuntimeFilter::wants(RuntimeKind kind, VendorFamily family) const {
  return rejection(kind, family) == Verdict::Open;
}

Verdict RuntimeFilter::rejection(RuntimeKind kind, VendorFamily family) const {
  if (!jvmSourceFavor && !(kind == RuntimeKind::Jdk ? allowJdk : allowJre)) return Verdict::KindNotWanted;
  const bool vendor = family == VendorFamily::Sun       ? allowSun || favorSun
                      : family == VendorFamily::JRockit ? allowJRockit || favorJRockit
                                                        : allowIbm || favorIbm;
  return vendor ? Verdict::Open : Verdict::VendorNotWanted;
}

Verdict RuntimeFilter::versionRejection(const VersionNumber& version) const {
  if (!withinBounds(version, minVersion, maxVersion)) return Verdict::OutsideBounds;
  if (!utf8Process) return Verdict::Open;
  // The releases that read a UTF-8 process's text correctly: 11.0.17 and
  // later 11s, 17.0.5 and later 17s, and 19 on.
  const int32_t feature = version.parts[0];
  const VersionNumber fixedIn{{feature, 0, feature == 11 ? 17 : 5, 0}, 3};
  const bool reads = feature >= 19 || ((feature == 11 || feature == 17) && compareVersions(version, fixedIn) >= 0);
  return reads ? Verdict::Open : Verdict::TooOldForUtf8;
}

bool RuntimeFilter::favours(RuntimeKind kind, VendorFamily family) const {
  const bool wantedKind = kind == RuntimeKind::Jdk ? allowJdk : allowJre;
  const bool vendor = family == VendorFamily::Sun       ? favorSun
                      : family == VendorFamily::JRockit ? favorJRockit
                                                        : favorIbm;
  return wantedKind && vendor;
}

RuntimeFilter readRuntimeFilter(SettingsSource& settings) {
  RuntimeFilter filter;
  readVersionBound(settings.value(setting::kMinimumVersion), 0, filter.minVersion);
  readVersionBound(settings.value(setting::kMaximumVersion), 65535, filter.maxVersion);
  splitString(settings.value(setting::kPreferredVersions), u";", filter.preferredVersions);
  const String jvmType = settings.value(setting::kJvmType);
  filter.jvmType = jvmType == setting::kServerVm        ? JvmType::Server
                   : jvmType == setting::kFavorServerVm ? JvmType::FavorServer
                                                        : JvmType::Default;
  readJvmSource(settings.value(setting::kJvmSource), filter);
  readVmProvider(settings.value(setting::kVmProvider), filter);
  filter.searchOtherInstallations = !equalsIgnoreCase(settings.value(setting::kSearchOtherInstallations), setting::kNo);
  return filter;
}
