#include "vm/vm_plan.h"

#include "common/path_components.h"
#include "resources/resource_ids.h"

StringList assembleClassPath(const LaunchSettings& settings, const ExecutablePaths& paths,
                             const PlanQueries& machine) {
  StringList classPath;
  if (settings.embeddedJar) classPath.push_back(paths.module);
  for (const ClassPathEntry& entry : classPathEntries(settings.classPath, paths.folder, machine.expand)) {
    if (entry.direct) {
      classPath.push_back(entry.written);
      continue;
    }
    const String folder(parentFolder(entry.pattern));
    for (const String& name : machine.matchingNames(entry.pattern)) classPath.push_back(folder + u"\\" + name);
  }
  return classPath;
}

bool planVm(const LaunchSettings& settings, const ExecutablePaths& paths, const String& libraryPath,
            const PlanQueries& machine, VmPlan& plan, Failure& failure) {
  const StringList classPath = assembleClassPath(settings, paths, machine);
  if (classPath.empty()) {
    failure = {IDS_NO_CLASS_PATH, 0, {}};
    return false;
  }
  plan = VmPlan{};
  if (!libraryPath.empty()) plan.options.push_back(u"-Djava.library.path=" + libraryPath);
  StringList ordered{u"-Djava.class.path=" + joinClassPath(classPath)};
  StringList parameters = vmParameterOptions(settings.vmParameters, machine.memory, plan.javaThreadStackSize);
  // Before the VM parameters, which may override them.
  if (settings.classDataSharing) {
    for (String& option : machine.classDataSharing(classPath, parameters)) ordered.push_back(std::move(option));
  }
  for (String& option : parameters) ordered.push_back(std::move(option));
  for (const String& option : ordered) plan.options.push_back(machine.expand(option));
  plan.out = {machine.expand(settings.stdoutFile), settings.stdoutAppend};
  plan.err = {machine.expand(settings.stderrFile), settings.stderrAppend};
  return true;
}
