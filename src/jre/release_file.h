#pragma once
// The "release" file in a Java runtime's home folder: lines KEY="value".
#include <string_view>

#include "common/text.h"
#include "jre/version_number.h"

struct ReleaseInfo {
  bool hasVersion = false;  // JAVA_VERSION held a version
  VersionNumber version;
  bool openJ9 = false;  // JVM_VARIANT is OpenJ9: an IBM-family VM
};

// What the file's text says; text that is not a release file says nothing.
ReleaseInfo parseReleaseText(std::string_view text);

// How much of a release file is read: real ones are about 1 KB.
constexpr size_t kReleaseFileLimit = 64 * 1024;

// The release file of a runtime home folder (ending in a backslash); says
// nothing when there is none. Windows only.
ReleaseInfo readReleaseFile(const String& home);
