// The machine's side of the VM plan: the process environment, file searches,
// the memory figures and the class-data archive.
#include "common/win32/ansi_text.h"
#include "common/win32/environment.h"
#include "common/win32/file_system.h"
#include "common/win32/win_text.h"
#include "jre/release_file.h"
#include "resources/resource_ids.h"
#include "vm/option_encoding.h"
#include "vm/runtime_folders.h"
#include "vm/win32/class_data_sharing.h"
#include "vm/win32/vm_steps.h"

namespace {

StringList matchingNames(const String& pattern) {
  StringList names;
  FileFinder matches;
  for (bool found = matches.findFirst(&pattern); found; found = matches.findNext()) {
    names.push_back(fromWide(matches.data().cFileName));
  }
  return names;
}

// Argument files are read as the VM reads its options, in the ANSI code page.
std::optional<String> readArgumentFile(const String& path) {
  constexpr size_t kArgumentFileLimit = 1 << 20;
  std::optional<std::string> bytes = readFileBytes(path, kArgumentFileLimit);
  if (!bytes) return std::nullopt;
  return fromAnsi(*bytes);
}

MemoryFigures machineMemory() {
  MEMORYSTATUS status{};
  status.dwLength = sizeof status;
  GlobalMemoryStatus(&status);
  return {status.dwTotalPhys, status.dwAvailVirtual};
}

}  // namespace

bool planLaunchVm(const String& jvmDllPath, const LaunchSettings& settings, const ExecutablePaths& paths,
                  const StringList& arguments, const String& libraryPath, VmPlan& plan, Failure& failure) {
  const PlanQueries machine{
      [](const String& text) { return expandEnvironment(text); }, matchingNames, machineMemory, readArgumentFile,
      [&](const StringList& classPath, const StringList& parameters) {
        return classDataSharingOptions(jvmDllPath, settings.product(), paths.module, classPath, parameters);
      }};
  if (!planVm(settings, paths, arguments, libraryPath, machine, plan, failure)) return false;
  if (plan.main.mode != LaunchMode::Module) return true;
  // Java 8 would refuse the module options with words of its own.
  const ReleaseInfo release = readReleaseFile(runtimeHome(jvmDllPath) + u"\\");
  if (release.hasVersion && release.version.parts[0] < kFirstModularJava) {
    failure = {IDS_MODULES_NEED_JAVA_9, 0, {plan.main.text, formatVersion(release.version)}};
    return false;
  }
  return true;
}

bool encodeLaunchVmOptions(const StringList& options, VmOptions& encoded, Failure& failure) {
  const OptionEncoding encoding{toAnsiExactly, toAnsi, fileOrFolderExists, shortPathName,
                                fromUtf8(std::to_string(GetACP()))};
  return encodeVmOptions(options, encoding, encoded, failure);
}
