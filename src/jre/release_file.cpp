#include "jre/release_file.h"

#include "common/text.h"

namespace {

// The value of KEY=value or KEY="value" on a line of its own; empty when absent.
std::string_view releaseValue(std::string_view text, std::string_view key) {
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.size() <= key.size() || line.substr(0, key.size()) != key || line[key.size()] != '=') continue;
    std::string_view value = line.substr(key.size() + 1);
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
    return value;
  }
  return {};
}

}  // namespace

ReleaseInfo parseReleaseText(std::string_view text) {
  ReleaseInfo info;
  const std::string_view version = releaseValue(text, "JAVA_VERSION");
  info.hasVersion = !version.empty() && parseVersion(fromUtf8(version), 0, info.version);
  info.openJ9 = equalsIgnoreCase(fromUtf8(releaseValue(text, "JVM_VARIANT")), u"openj9");
  return info;
}
