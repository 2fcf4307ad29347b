#include "options.h"

#include <cstdlib>

namespace test_runtime {
namespace {

// HotSpot's limits for -Xss: at least 136 KB (x64), at most 1 GB; 0 is the default.
constexpr unsigned long long kMinimumStack = 136 * 1024;
constexpr unsigned long long kMaximumStack = 1024ull * 1024 * 1024;
// The most heap this process's address space could hold: the user space of
// 64-bit Windows (128 TB), 2 GB for a 32-bit process.
constexpr unsigned long long kReservableHeap = sizeof(void*) == 8 ? 128ull << 40 : 2ull << 30;

// A size as HotSpot reads it: decimal digits and at most one unit letter.
std::optional<unsigned long long> memorySize(std::string_view text) {
  size_t digits = 0;
  while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') ++digits;
  if (digits == 0 || digits > 18 || text.size() > digits + 1) return std::nullopt;
  unsigned long long value = std::strtoull(std::string(text.substr(0, digits)).c_str(), nullptr, 10);
  if (text.size() == digits) return value;
  switch (text.back()) {
    case 'k': case 'K': return value << 10;
    case 'm': case 'M': return value << 20;
    case 'g': case 'G': return value << 30;
    case 't': case 'T': return value << 40;
    default: return std::nullopt;
  }
}

OptionVerdict rejected(jint status, std::string message) { return {status, std::move(message)}; }

}  // namespace

OptionVerdict judgeOption(std::string_view option, int javaVersion) {
  const std::string text(option);
  // The application class-data archive: the file is taken as given; it is
  // created by itself from Java 19 on.
  if (option.starts_with("-XX:SharedArchiveFile=")) return {};
  if (option == "-XX:+AutoCreateSharedArchive") {
    if (javaVersion >= 19) return {};
    return rejected(JNI_ERR, "Unrecognized VM option 'AutoCreateSharedArchive'");
  }
  // The module options in the one form HotSpot takes, "name=value". "-p",
  // "-m", "--module=" and the forms with the value as the next argument
  // are the java launcher's own and are refused as unrecognised.
  static constexpr struct {
    std::string_view prefix;
    int since;
  } kModuleOptions[] = {{"--module-path=", 9},          {"--upgrade-module-path=", 9},   {"--add-modules=", 9},
                        {"--limit-modules=", 9},        {"--add-exports=", 9},           {"--add-opens=", 9},
                        {"--add-reads=", 9},            {"--patch-module=", 9},          {"--enable-native-access=", 17},
                        {"--illegal-native-access=", 24}};
  for (const auto& module : kModuleOptions) {
    if (option.starts_with(module.prefix) && (javaVersion ? javaVersion : 17) >= module.since) return {};
  }
  for (std::string_view exact : {"-ea", "-da", "-esa", "-Xrs", "abort", "exit", "vfprintf"}) {
    if (option == exact) return {};
  }
  // HotSpot takes any list here; missing entries are skipped.
  for (std::string_view prefix : {"-D", "-verbose", "-Xbootclasspath/a:"}) {
    if (option.starts_with(prefix)) return {};
  }
  if (option.starts_with("-Xmx") || option.starts_with("-Xms")) {
    const auto size = memorySize(option.substr(4));
    const bool maximum = option[3] == 'x';
    // A 32-bit VM cannot even represent 4 GB.
    if (!size || (maximum && *size == 0) || (sizeof(void*) == 4 && *size >= (4ull << 30))) {
      return rejected(JNI_EINVAL, std::string("Invalid ") + (maximum ? "maximum" : "initial") + " heap size: " + text);
    }
    if (maximum && *size > kReservableHeap) {
      return {JNI_OK, "Could not reserve enough space for " + std::to_string(*size >> 10) + "KB object heap", true};
    }
    return {};
  }
  if (option.starts_with("-Xss")) {
    const auto size = memorySize(option.substr(4));
    if (!size || *size > kMaximumStack) return rejected(JNI_EINVAL, "Invalid thread stack size: " + text);
    if (*size != 0 && *size < kMinimumStack) {
      return rejected(JNI_ERR, "The Java thread stack size specified is too small. Specify at least 136k");
    }
    return {};
  }
  return rejected(JNI_ERR, "Unrecognized option: " + text);
}

int releaseJavaVersion(std::string_view releaseText) {
  constexpr std::string_view key = "JAVA_VERSION=\"";
  const size_t at = releaseText.find(key);
  if (at == std::string_view::npos) return 0;
  const int first = std::atoi(std::string(releaseText.substr(at + key.size(), 4)).c_str());
  if (first != 1) return first;
  // 1.8.0_392: the second part is the version.
  const size_t dot = releaseText.find('.', at + key.size());
  return dot == std::string_view::npos ? 0 : std::atoi(std::string(releaseText.substr(dot + 1, 4)).c_str());
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
