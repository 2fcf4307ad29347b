#pragma once
// "Class Path" as the launch reads it, for the launch and for the packager's
// check alike. Portable.
#include <functional>
#include <vector>

#include "common/text.h"

struct ClassPathEntry {
  String written;  // the entry, environment references expanded
  // An absolute entry without "*" goes in as written; every other one only
  // with the files that `pattern` (relative entries beside the executable)
  // matches.
  bool direct = false;
  String pattern;
};

using ExpandReferences = std::function<String(const String&)>;

// The entries of the value split at ";", in order, blank ones included.
std::vector<ClassPathEntry> classPathEntries(StringView value, StringView executableFolder,
                                             const ExpandReferences& expand);

// The entries joined by ";", without an empty element: the VM reads an empty
// one as the current directory.
String joinClassPath(const StringList& entries);
