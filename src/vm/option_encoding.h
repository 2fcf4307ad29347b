#pragma once
// The VM's options as the bytes it reads: the VM decodes them with the
// process's ANSI code page, so a character that page lacks would reach it as
// "?" or as a look-alike, which can name another folder. Portable: the
// machine answers through OptionEncoding.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/failure.h"
#include "common/text.h"

struct OptionEncoding {
  // The text in the VM's code page; nothing when a character has no exact form there.
  std::function<std::optional<std::string>(StringView text)> exact;
  // The text in the VM's code page, lacking characters replaced.
  std::function<std::string(StringView text)> lossy;
  std::function<bool(const String& path)> exists;
  // The path's short (8.3) form, empty when the volume keeps none.
  std::function<String(const String& path)> shortPath;
  String codePage;  // for messages
};

// The options as the VM reads them. An entry of a path option (the class,
// module, library and appended boot class paths) that has no exact form
// goes in as its short path, or is left out when it does not exist (the VM
// would find nothing there); the application's name for the JDK's tools may
// lose characters. (The class-data archive is offered only where it has an
// exact form.) False, with `failure` naming the path or option that
// cannot be given to the VM, otherwise.
bool encodeVmOptions(const StringList& options, const OptionEncoding& encoding, std::vector<std::string>& encoded,
                     Failure& failure);
