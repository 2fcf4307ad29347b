#include "runtimes_command.h"

#include <windows.h>

#include <string>

#include "common/win32/console_flavour.h"
#include "common/win32/file_system.h"
#include "common/path_components.h"
#include "common/win32/unique_resource.h"
#include "common/win32/win_text.h"
#include "file_io.h"
#include "jre/win32/machine_check.h"
#include "jre/runtime_filter.h"
#include "jre/win32/runtime_selection.h"
#include "manifest_text.h"
#include "settings/win32/layered_settings.h"
#include "settings/settings_path.h"
#include "settings/win32/per_user_settings.h"

namespace {

// The executable's manifest text; empty when it has none.
std::string_view manifestOf(HMODULE image) {
  HRSRC found = FindResourceW(image, MAKEINTRESOURCEW(1), RT_MANIFEST);
  const void* data = found ? LockResource(LoadResource(image, found)) : nullptr;
  return data ? std::string_view(static_cast<const char*>(data), SizeofResource(image, found)) : std::string_view();
}

}  // namespace

int listRuntimes(const String& iniPath) {
  String ini = fullPathName(iniPath);
  if (ini.empty()) ini = iniPath;
  if (!pathExists(ini)) {
    printError("packager: cannot find " + toUtf8(ini) + "\n");
    return 2;
  }
  // The launcher is the executable of the same name beside the INI; its
  // embedded settings count as they do for it.
  const String executable = executableForSettings(ini);
  IniSettingsFile plain(ini);
  const ProductIdentity product{plain.value(setting::kProductName), plain.value(setting::kProductCode)};
  UniqueModule image(LoadLibraryExW(wide(executable), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  const String embedded = image ? embeddedSettingsTextOf(image.get(), plain.value(setting::kUpgradeCode)) : String();
  LayeredSettings settings(ini, embedded);

  SelectionRequest request;
  request.filter = readRuntimeFilter(settings);
  // Its code page is the one its manifest asks for (packager package --utf-8).
  request.filter.utf8Process = image && declaresUtf8CodePage(manifestOf(image.get()));
  const bool service = settings.value(setting::kApplicationType) == setting::kService;
  request.jrePath = configuredJrePath(settings, product, executable, service);
  request.executableFolder = folderOfPath(executable);
  request.pairAllowed = !settings.value(setting::kPairProduct).empty();
  // A relative "JRE Path" resolves where the launch's working directory is.
  if (equalsIgnoreCase(settings.value(setting::kOverrideWorkingDir), setting::kYes)) {
    SetCurrentDirectoryW(wide(request.executableFolder));
  }

  SelectionReport report;
  SelectedRuntime selected;
  const bool found = selectInstalledRuntime(request, selected, &report);
  const std::string flavour = !image                       ? "no executable there"
                              : isConsoleImage(image.get()) ? "console flavour"
                                                            : "window flavour";
  printOut("Runtimes a " + std::string(machineName(ownMachine())) + " launcher " +
           toUtf8(String(fileNameOf(executable))) + " (" + flavour + ") sees, judged by " + toUtf8(ini) +
           ":\n");
  if (report.empty()) printOut("  (none)\n");
  for (const SeenRuntime& seen : report) printOut("  " + describeSeenRuntime(seen));
  if (!found) {
    printOut("A launch takes none of them: it shows the JRE-not-found dialog.\n");
    return 1;
  }
  printOut("A launch takes " + toUtf8(selected.jvmDll) + " (" + stageName(selected.stage) + ")" +
                               (selected.handOver ? " and hands the launch to the paired product.\n" : ".\n"));
  return 0;
}
