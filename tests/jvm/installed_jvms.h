#pragma once
// The real JVMs of this machine: every /usr/lib/jvm/*/lib/server/libjvm.so,
// each once (several JDK folders are links to the same one).
#include <filesystem>
#include <set>
#include <string>
#include <vector>

inline std::vector<std::string> installedJvms() {
  namespace fs = std::filesystem;
  std::set<std::string> found;
  for (const auto& jdk : fs::directory_iterator("/usr/lib/jvm")) {
    fs::path library = jdk.path() / "lib/server/libjvm.so";
    if (fs::exists(library)) found.insert(fs::canonical(library).string());
  }
  return {found.begin(), found.end()};
}
