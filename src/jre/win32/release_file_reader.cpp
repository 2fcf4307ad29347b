#include "common/win32/file_system.h"
#include "jre/release_file.h"

ReleaseInfo readReleaseFile(const String& home) {
  const std::optional<std::string> text = readFileBytes(home + u"release", kReleaseFileLimit);
  return text ? parseReleaseText(*text) : ReleaseInfo{};
}
