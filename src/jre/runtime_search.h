#pragma once
// The registry search for installed Java runtimes, and the VM library lookup
// in a runtime's home folder.
#include "common/text.h"
#include "jre/runtime_choice.h"
#include "jre/version_number.h"

// What the settings ask of an installed runtime: kinds ("JVM Source"),
// vendors ("VM Provider"), the VM ("JVM Type"), bounds and preferences.
struct RuntimeFilter {
  bool jvmSourceFavor = true;
  bool allowJdk = false, allowJre = false;
  bool allowSun = true, favorSun = true;
  bool allowJRockit = false, favorJRockit = false;
  bool allowIbm = false, favorIbm = false;
  JvmType jvmType = JvmType::Default;
  VersionNumber minVersion, maxVersion;
  StringList preferredVersions;
};

struct FoundRuntime {
  String home;  // ends in a backslash
  VersionNumber version;
};

// The best runtime in this launcher's own registry view, or (`pairedView`)
// in the view of its paired product. False when none fits.
bool searchInstalledRuntimes(const RuntimeFilter& filter, bool pairedView, FoundRuntime& found);

// True when the folder (ending in a backslash) holds "bin\java.dll": the
// mark of a Java runtime's home folder.
bool hasJavaLibrary(const String& folder);

// The jvm.dll of a runtime home folder for the JVM type (0 any, client first;
// 1 server only; 2 server first), or empty. `serverVm` is set only with a path.
String findJvmLibrary(const String& home, JvmType jvmType, bool* serverVm = nullptr);
