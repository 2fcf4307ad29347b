#pragma once
// The folders of the chosen runtime and the search paths built from them for
// the VM's process environment. Portable; environment references such as
// %Path% are left for the caller to expand.
#include "common/text.h"

// The path cut at its last backslash `times` times (a cut without a
// backslash changes nothing): jvm.dll -> VM folder -> bin -> home.
String cutAtLastBackslash(StringView path, int times);

String runtimeHome(StringView jvmDllPath);
String runtimeBinFolder(StringView jvmDllPath);

// "Library Path" extended: the configured value, the launcher's folder, ".",
// the inherited Path and the runtime's lib folder.
String extendedLibraryPath(StringView configured, StringView launcherFolder, StringView jvmDllPath);

// The process Path: "System Path", the inherited Path, the runtime's bin folder.
String vmProcessPath(StringView systemPath, StringView jvmDllPath);
