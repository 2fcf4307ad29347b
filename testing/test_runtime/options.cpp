#include "options.h"

#include <cstdlib>
#include <string>

namespace test_runtime {

bool recognisedOption(std::string_view option) {
  for (std::string_view exact : {"", "-ea", "-da", "-esa", "-Xrs", "abort", "exit", "vfprintf"}) {
    if (option == exact) return true;
  }
  for (std::string_view prefix : {"-D", "-Xss", "-Xmx", "-Xms", "-verbose", "-agentlib:", "-javaagent:"}) {
    if (option.starts_with(prefix)) return true;
  }
  return false;
}

std::optional<jint> requestedStatus(std::string_view option) {
  constexpr std::string_view key = "-Dtest.jvm.status=";
  if (!option.starts_with(key)) return std::nullopt;
  const std::string digits(option.substr(key.size()));
  char* end = nullptr;
  const long status = std::strtol(digits.c_str(), &end, 10);
  if (digits.empty() || *end != '\0') return std::nullopt;
  return static_cast<jint>(status);
}

}  // namespace test_runtime
