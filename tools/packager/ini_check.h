#pragma once
// Checks a launcher settings file the way the launcher will read it:
// case-insensitive section and key names, trimmed values, the first of two
// equal keys, "+" sections appending after a blank, and each key's own rule
// for comparing its value. Portable: the caller reads the file and answers
// file questions through FileProbe.
#include <optional>
#include <string_view>
#include <vector>

#include "common/text.h"
#include "settings/setting_names.h"

enum class Severity { Warning, Error };

struct Finding {
  int line = 0;  // 1-based; 0 when the finding concerns the file as a whole
  Severity severity = Severity::Warning;
  String message;
};

// File questions about the machine the application is checked on. Paths
// arrive absolute, as the launcher would hand them to the file system.
struct FileProbe {
  virtual ~FileProbe() = default;
  virtual bool exists(const String& path) const = 0;
  // Whether a pattern with * or ? in its last component matches anything.
  virtual bool anyMatch(const String& pattern) const = 0;
};

enum class ValueKind {
  Text,          // used as written
  VmOptions,     // blank-separated VM options, "@file" argument files beside the executable
  Path,          // one file or folder
  PathList,      // paths separated by ";"
  ClassPath,     // ";"-separated entries, relative ones beside the executable, wildcards allowed
  ModulePath,    // as ClassPath, and it makes "Main Class" a module's
  MainJar,       // a jar beside the executable unless absolute, used when "Main Class" is empty
  ClassName,     // required unless a main jar names the class
  VersionBound,  // "any" (exact) or a version
  VersionList,   // versions separated by ";"
  Choice,        // one of `accepted`; any other text does `otherText`
  Switch,        // on for accepted[0] only, off for any other text
};

enum class Match { Exact, AnyCase };

struct AcceptedValue {
  const char16_t* text;
  const char16_t* effect;
};

struct SettingSpec {
  SettingKey setting;
  ValueKind kind;
  bool layered;  // read through the layered reader, so "<section>+" can extend it
  Match match = Match::Exact;
  std::vector<AcceptedValue> accepted = {};
  const char16_t* otherText = nullptr;  // what any other non-empty value does
};

// Every key the launcher reads, in the order of its sections.
const std::vector<SettingSpec>& settingsCatalogue();

// Findings in line order of discovery; `appFolder` is the executable's
// folder, which relative entries are searched in. `embedded` is the settings
// text embedded in the executable, read where the file leaves a key empty.
std::vector<Finding> checkIni(StringView text, const String& appFolder, const FileProbe& files,
                              StringView embedded = {});

// A warning at the first non-ASCII byte of a file without a byte-order mark,
// which the launcher reads in the code page of the system it runs on.
std::optional<Finding> codePageFinding(std::string_view bytes);

// 0 without findings, 1 for warnings only, 2 when any is an error.
int checkExitCode(const std::vector<Finding>& findings);
