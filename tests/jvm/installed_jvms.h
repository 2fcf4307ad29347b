#pragma once
// The real JVMs of this machine: every /usr/lib/jvm/*/lib/server/libjvm.so,
// each once (several JDK folders are links to the same one).
#include <cstdlib>
#include <filesystem>
#include <fstream>
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

// The feature version of the JDK a libjvm.so belongs to (its release file's
// JAVA_VERSION), 0 when it cannot be read.
inline int jvmFeatureVersion(const std::string& jvm) {
  std::ifstream in(std::filesystem::path(jvm).parent_path().parent_path().parent_path() / "release");
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("JAVA_VERSION=\"", 0) == 0) return std::atoi(line.c_str() + 14);
  }
  return 0;
}
