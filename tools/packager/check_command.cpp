#include "check_command.h"

#include <windows.h>

#include "common/win32/console_flavour.h"
#include "common/win32/file_system.h"
#include "common/win32/unique_resource.h"
#include "common/path_components.h"
#include "common/win32/win_text.h"
#include "file_io.h"
#include "ini_check.h"
#include "settings/setting_names.h"
#include "settings/settings_path.h"
#include "settings/win32/layered_settings.h"

namespace {

class DiskProbe : public FileProbe {
 public:
  bool exists(const String& path) const override { return pathExists(path); }
  bool anyMatch(const String& pattern) const override {
    FileFinder finder;
    return finder.findFirst(&pattern);
  }
};

// Before the application is assembled there is nothing to look for: every
// file counts as there.
class UnknownFiles : public FileProbe {
 public:
  bool exists(const String&) const override { return true; }
  bool anyMatch(const String&) const override { return true; }
};

String fullPath(const String& path) {
  const String full = fullPathName(path);
  return full.empty() ? path : full;
}

}  // namespace

int checkSettings(const String& path, const String& appFolder) {
  const bool exeGiven = path.size() > 4 && equalsIgnoreCase(StringView(path).substr(path.size() - 4), u".exe");
  const String exe = fullPath(exeGiven ? path : executableForSettings(path));
  const String ini = exeGiven ? executablePathsFor(exe).settings : path;
  ByteBuffer bytes;
  std::string error;
  if (!readWholeFile(ini, bytes, error)) {
    printError("packager: " + error + "\n");
    return 2;
  }
  const std::string name = toUtf8(ini);
  // What a launch of the executable beside the INI reads: its embedded
  // settings under the INI's own, files in its folder.
  UniqueModule image(LoadLibraryExW(wide(exe), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  if (exeGiven && !image) {
    printError("packager: cannot read " + toUtf8(exe) + ": " + systemMessage(GetLastError()) + "\n");
    return 2;
  }
  String embedded;
  if (image) {
    embedded = embeddedSettingsTextOf(image.get(), IniSettingsFile(ini).value(setting::kUpgradeCode));
    printError(toUtf8(exe) + ": the " + (isConsoleImage(image.get()) ? "console" : "window") + " flavour" +
               (embedded.empty() ? "" : ", with embedded settings") + "\n");
  }
  String folder = appFolder.empty() ? String() : fullPath(appFolder);
  if (folder.empty() && image) folder = folderOrCurrent(exe);
  const DiskProbe disk;
  const UnknownFiles unknown;
  if (folder.empty()) {
    printError(name + ": no " + toUtf8(String(fileNameOf(exe))) +
               " beside it, so the files it names are not looked for; give --app-folder FOLDER to look for them "
               "where the application will lie\n");
  }
  std::vector<Finding> findings = checkIni(decodeIniText(bytes), folder.empty() ? folderOrCurrent(fullPath(ini)) : folder,
                                           folder.empty() ? static_cast<const FileProbe&>(unknown) : disk, embedded);
  const std::string_view raw(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (std::optional<Finding> encoding = codePageFinding(raw)) findings.insert(findings.begin(), *encoding);
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
