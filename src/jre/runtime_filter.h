#pragma once
// What the settings ask of an installed runtime: kinds ("JVM Source"),
// vendors ("VM Provider"), the VM ("JVM Type"), bounds and preferences.
#include "common/text.h"
#include "jre/runtime_choice.h"
#include "jre/version_number.h"

class SettingsSource;

struct RuntimeFilter {
  bool jvmSourceFavor = true;
  bool allowJdk = false, allowJre = false;
  bool allowSun = true, favorSun = true;
  bool allowJRockit = false, favorJRockit = false;
  bool allowIbm = false, favorIbm = false;
  JvmType jvmType = JvmType::Default;
  VersionNumber minVersion, maxVersion;
  StringList preferredVersions;
  // "Search Other Installations": vendor keys and JAVA_HOME after the
  // classic registry keys.
  bool searchOtherInstallations = true;
  // The process's code page is UTF-8 (the executable's manifest asks for
  // it): runtimes before 11.0.17, 17.0.5 and 19 misread its text.
  bool utf8Process = false;

  bool ibmAllowed() const { return allowIbm || favorIbm; }
  // Whether runtimes of this kind and family are looked at, and preferred.
  bool wants(RuntimeKind kind, VendorFamily family) const;
  bool favours(RuntimeKind kind, VendorFamily family) const;
  RankingRules rankingRules() const { return {jvmSourceFavor, jvmType}; }
  // Why a runtime of this kind and family is not looked at (Open when it is).
  Verdict rejection(RuntimeKind kind, VendorFamily family) const;
  // Why a runtime of this version is not looked at (Open when it is).
  Verdict versionRejection(const VersionNumber& version) const;
};

// The filter the settings give.
RuntimeFilter readRuntimeFilter(SettingsSource& settings);
