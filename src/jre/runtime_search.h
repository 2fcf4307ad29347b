#pragma once
#include "common/text.h"
#include "jre/runtime_choice.h"

// True when the folder (ending in a backslash) holds "bin\java.dll": the
// mark of a Java runtime's home folder.
bool hasJavaLibrary(const String& folder);

// The jvm.dll of a runtime home folder for the JVM type (0 any, client first;
// 1 server only; 2 server first), or empty. `serverVm` is set only with a path.
String findJvmLibrary(const String& home, JvmType jvmType, bool* serverVm = nullptr);
