#include "vm/vm_plan.h"

#include <algorithm>

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

namespace {

constexpr StringView kJavaCommandProperty = u"-Dsun.java.command=";

// The main class as written on a java command line, then the arguments.
String javaCommand(const String& mainClass, const StringList& arguments) {
  String command = String(kJavaCommandProperty) + mainClass;
  for (char16_t& c : command) {
    if (c == u'/') c = u'.';
  }
  for (const String& argument : arguments) command += u" " + argument;
  return command;
}

}  // namespace

bool planVm(const LaunchSettings& settings, const ExecutablePaths& paths, const StringList& arguments,
            const String& libraryPath, const PlanQueries& machine, VmPlan& plan, Failure& failure) {
  const StringList classPath = assembleClassPath(settings, paths, machine);
  if (classPath.empty()) {
    failure = {IDS_NO_CLASS_PATH, 0, {}};
    return false;
  }
  plan = VmPlan{};
  if (!libraryPath.empty()) plan.options.push_back(u"-Djava.library.path=" + libraryPath);
  StringList ordered{u"-Djava.class.path=" + joinClassPath(classPath)};
  auto readArgumentFile = [&](const String& name) {
    return machine.readTextFile(resolvedIn(paths.folder, machine.expand(name)));
  };
  String unreadable;
  StringList parameters = vmParameterOptions(settings.vmParameters, machine.memory, plan.javaThreadStackSize,
                                             readArgumentFile, &unreadable);
  if (!unreadable.empty()) {
    failure = {IDS_ARGUMENT_FILE_UNREADABLE, 0, {unreadable}};
    return false;
  }
  // Before the VM parameters, which may override them.
  if (settings.classDataSharing) {
    for (String& option : machine.classDataSharing(classPath, parameters)) ordered.push_back(std::move(option));
  }
  for (String& option : parameters) ordered.push_back(std::move(option));
  for (const String& option : ordered) plan.options.push_back(machine.expand(option));
  const bool namedByParameters = std::any_of(plan.options.begin(), plan.options.end(), [](const String& option) {
    return StringView(option).substr(0, kJavaCommandProperty.size()) == kJavaCommandProperty;
  });
  // The arguments as given: no environment references are expanded in them.
  if (!namedByParameters) plan.options.push_back(javaCommand(settings.mainClass, arguments));
  plan.out = {machine.expand(settings.stdoutFile), settings.stdoutAppend};
  plan.err = {machine.expand(settings.stderrFile), settings.stderrAppend};
  return true;
}
