#include "vm/option_encoding.h"

#include "resources/resource_ids.h"

namespace {

// The options whose value is a ";"-separated list of paths.
constexpr StringView kPathOptions[] = {u"-Djava.class.path=", u"--module-path=", u"-Djava.library.path=",
                                       u"-Xbootclasspath/a:"};
constexpr StringView kJavaCommand = u"-Dsun.java.command=";

bool startsWith(StringView text, StringView prefix) { return text.substr(0, prefix.size()) == prefix; }

// One entry of a path option; false with `failure` set when it cannot be given.
bool encodeEntry(const String& entry, const OptionEncoding& encoding, std::string& out, bool& kept,
                 Failure& failure) {
  kept = true;
  if (std::optional<std::string> bytes = encoding.exact(entry)) {
    out += *bytes;
    return true;
  }
  if (!encoding.exists(entry)) {
    kept = false;
    return true;
  }
  const String shortPath = encoding.shortPath(entry);
  std::optional<std::string> bytes = shortPath.empty() ? std::nullopt : encoding.exact(shortPath);
  if (!bytes) {
    failure = {IDS_PATH_NOT_REPRESENTABLE, 0, {entry, encoding.codePage}};
    return false;
  }
  out += *bytes;
  return true;
}

}  // namespace

bool encodeVmOptions(const StringList& options, const OptionEncoding& encoding, std::vector<std::string>& encoded,
                     Failure& failure) {
  encoded.clear();
  for (const String& option : options) {
    if (std::optional<std::string> bytes = encoding.exact(option)) {
      encoded.push_back(std::move(*bytes));
      continue;
    }
    if (startsWith(option, kJavaCommand)) {
      encoded.push_back(encoding.lossy(option));
      continue;
    }
    StringView prefix;
    for (StringView candidate : kPathOptions) {
      if (startsWith(option, candidate)) prefix = candidate;
    }
    if (prefix.empty()) {
      failure = {IDS_OPTION_NOT_REPRESENTABLE, 0, {option, encoding.codePage}};
      return false;
    }
    std::string out = *encoding.exact(prefix);
    bool any = false;
    size_t start = prefix.size();
    while (start <= option.size()) {
      size_t end = option.find(u';', start);
      if (end == String::npos) end = option.size();
      std::string entry;
      bool kept = false;
      if (!encodeEntry(option.substr(start, end - start), encoding, entry, kept, failure)) return false;
      if (kept) {
        if (any) out += ';';
        out += entry;
        any = true;
      }
      start = end + 1;
    }
    encoded.push_back(std::move(out));
  }
  return true;
}
