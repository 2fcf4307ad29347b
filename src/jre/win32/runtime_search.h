#pragma once
// The registry search for installed Java runtimes, and the VM library lookup
// in a runtime's home folder.
#include <windows.h>

#include <vector>

#include "common/text.h"
#include "common/win32/unique_resource.h"
#include "jre/runtime_choice.h"
#include "jre/runtime_filter.h"
#include "jre/version_number.h"

struct FoundRuntime {
  String home;  // ends in a backslash
  VersionNumber version;
};

// The best runtime of the classic registry keys in this launcher's own
// registry view, or (`pairedView`) in the view of its paired product. False
// when none fits. With `seen`, every runtime the keys name is added to it
// with its verdict (the keys the settings rule out included).
bool searchInstalledRuntimes(const RuntimeFilter& filter, bool pairedView, FoundRuntime& found,
                             std::vector<JreCandidate>* seen = nullptr);

// True when the folder (ending in a backslash) holds "bin\java.dll": the
// mark of a Java runtime's home folder.
bool hasJavaLibrary(const String& folder);

// The jvm.dll of a runtime home folder for the JVM type (0 any, client first;
// 1 server only; 2 server first), or empty. `serverVm` is set only with a path.
String findJvmLibrary(const String& home, JvmType jvmType, bool* serverVm = nullptr);

// The registry view of a pass: this executable's own (0), or the other one,
// where the paired product's runtimes are registered.
REGSAM registryViewFlag(bool pairedView);

// A key below `root` for reading, in this launcher's view or the paired
// product's; empty when it cannot be opened.
UniqueKey openRegistryKey(HKEY root, const String& path, bool pairedView);

// A value of an open key as text ("" when it is missing or empty). With
// `textOnly` a value that is not a string counts as missing; otherwise its
// data are read as text whatever its type, as the classic keys always were.
String registryText(HKEY key, const wchar_t* name, bool textOnly);

// The names of an open key's subkeys, in the registry's order.
StringList subkeyNames(HKEY key);
