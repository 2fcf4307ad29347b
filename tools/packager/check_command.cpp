#include "check_command.h"

#include <windows.h>

#include "common/win32/file_system.h"
#include "common/path_components.h"
#include "common/win32/win_text.h"
#include "file_io.h"
#include "ini_check.h"

namespace {

class DiskProbe : public FileProbe {
 public:
  bool exists(const String& path) const override { return pathExists(path); }
  bool anyMatch(const String& pattern) const override {
    FileFinder finder;
    return finder.findFirst(&pattern);
  }
};

// The folder the launcher resolves relative entries in: the INI's own, as
// the INI lies beside the executable.
String iniFolder(const String& path) {
  const String full = fullPathName(path);
  return folderOrCurrent(full.empty() ? path : full);
}

}  // namespace

int checkIniFile(const String& path) {
  ByteBuffer bytes;
  std::string error;
  if (!readWholeFile(path, bytes, error)) {
    printError("packager: " + error + "\n");
    return 2;
  }
  std::vector<Finding> findings = checkIni(decodeIniText(bytes), iniFolder(path), DiskProbe());
  const std::string_view raw(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (std::optional<Finding> encoding = codePageFinding(raw)) findings.insert(findings.begin(), *encoding);
  const std::string name = toUtf8(path);
  int warnings = 0, errors = 0;
  for (const Finding& finding : findings) {
    bool isError = finding.severity == Severity::Error;
    (isError ? errors : warnings)++;
    std::string where = finding.line > 0 ? name + ":" + std::to_string(finding.line) : name;
    printOut(where + ": " + (isError ? "error: " : "warning: ") + toUtf8(finding.message) + "\n");
  }
  printError(name + ": errors " + std::to_string(errors) + ", warnings " + std::to_string(warnings) + "\n");
  return checkExitCode(findings);
}
