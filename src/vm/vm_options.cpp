// The VM options of a launch: the class path (relative and wildcard entries
// resolved beside the executable, the executable itself for an embedded
// jar), the class-data archive when asked for, and the VM parameters.
#include "common/ansi_text.h"
#include "common/environment.h"
#include "common/path_components.h"
#include "common/file_system.h"
#include "common/split_string.h"
#include "common/win_text.h"
#include "resources/resource_ids.h"
#include "vm/class_data_sharing.h"
#include "vm/vm_parameters.h"
#include "vm/vm_steps.h"

namespace {

bool isDrivePath(const String& entry) { return entry.size() >= 2 && entry[1] == u':'; }
bool isUncPath(const String& entry) { return entry.size() >= 2 && entry[0] == u'\\' && entry[1] == u'\\'; }

// Appends every match of a relative or wildcard entry, in the order the
// file system returns them; no match adds nothing. Relative entries are
// searched beside the executable.
void expandClassPathEntry(const String& entry, const String& executable, StringList& classPath) {
  String pattern = entry;
  if (!isDrivePath(entry) && !isUncPath(entry)) {
    pattern = String(parentFolder(executable)) + u"\\" + entry;
  }
  const String matchFolder(parentFolder(pattern));

  FileFinder matches;
  for (bool found = matches.findFirst(&pattern); found; found = matches.findNext()) {
    classPath.push_back(matchFolder + u"\\" + fromWide(matches.data().cFileName));
  }
}

// The entries joined by ";", without an empty element: the VM reads an
// empty one as the current directory.
String joinClassPath(const StringList& entries) {
  String joined;
  for (const String& entry : entries) {
    if (!joined.empty()) joined += u';';
    joined += entry;
  }
  return joined;
}

MemoryFigures machineMemory() {
  MEMORYSTATUS status{};
  status.dwLength = sizeof status;
  GlobalMemoryStatus(&status);
  return {status.dwTotalPhys, status.dwAvailVirtual};
}

}  // namespace

bool buildVmOptions(const String& jvmDllPath, const LaunchSettings& settings, const ExecutablePaths& paths,
                    VmOptions& options, uint32_t& javaThreadStackSize, Failure& failure) {
  StringList entries;
  splitString(settings.classPath, u";", entries);
  StringList classPath;
  if (settings.embeddedJar) classPath.push_back(paths.module);
  for (const String& raw : entries) {
    String entry = expandEnvironment(raw);
    bool direct = entry.find(u'*') == String::npos && (isDrivePath(entry) || isUncPath(entry));
    if (direct) {
      classPath.push_back(entry);
    } else {
      expandClassPathEntry(entry, paths.module, classPath);
    }
  }
  if (classPath.empty()) {
    failure = {IDS_NO_CLASS_PATH, 0, {}};
    return false;
  }

  StringList ordered{u"-Djava.class.path=" + joinClassPath(classPath)};
  StringList parameters = vmParameterOptions(settings.vmParameters, machineMemory, javaThreadStackSize);
  // Before the VM parameters, which may override them.
  if (settings.classDataSharing) {
    for (String& option : classDataSharingOptions(jvmDllPath, settings.product(), paths.module, classPath, parameters)) {
      ordered.push_back(std::move(option));
    }
  }
  for (String& option : parameters) ordered.push_back(std::move(option));
  for (const String& option : ordered) options.push_back(toThreadAnsi(expandEnvironment(option)));
  return true;
}
