#include "vm/class_path.h"

#include "common/path_components.h"
#include "common/split_string.h"

std::vector<ClassPathEntry> classPathEntries(StringView value, StringView executableFolder,
                                             const ExpandReferences& expand) {
  StringList parts;
  splitString(value, u";", parts);
  std::vector<ClassPathEntry> entries;
  for (const String& part : parts) {
    ClassPathEntry entry;
    entry.written = expand(part);
    entry.direct = isAbsolutePath(entry.written) && entry.written.find(u'*') == String::npos;
    entry.pattern = resolvedIn(executableFolder, entry.written);
    entries.push_back(std::move(entry));
  }
  return entries;
}

String joinClassPath(const StringList& entries) {
  String joined;
  for (const String& entry : entries) {
    if (entry.empty()) continue;
    if (!joined.empty()) joined += u';';
    joined += entry;
  }
  return joined;
}
