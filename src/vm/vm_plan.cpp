#include "vm/vm_plan.h"

#include <algorithm>

#include "common/path_components.h"
#include "resources/resource_ids.h"

namespace {

// A list of "Class Path"'s form: each entry as it is or with what it matches.
void appendEntries(StringView value, const ExecutablePaths& paths, const PlanQueries& machine, StringList& list) {
  for (const ClassPathEntry& entry : classPathEntries(value, paths.folder, machine.expand)) {
    if (entry.direct) {
      list.push_back(entry.written);
      continue;
    }
    const String folder(parentFolder(entry.pattern));
    for (const String& name : machine.matchingNames(entry.pattern)) list.push_back(folder + u"\\" + name);
  }
}

constexpr StringView kJavaCommandProperty = u"-Dsun.java.command=";

// The main as written on a java command line, then the arguments.
String javaCommand(const MainTarget& main, const StringList& arguments) {
  String command = String(kJavaCommandProperty) + main.text;
  for (const String& argument : arguments) command += u" " + argument;
  return command;
}

}  // namespace

MainTarget mainTarget(const LaunchSettings& settings, const ExecutablePaths& paths, const ExpandReferences& expand) {
  if (!settings.modulePath.empty()) return {LaunchMode::Module, settings.mainClass};
  if (!settings.mainClass.empty()) {
    String dotted = settings.mainClass;
    for (char16_t& c : dotted) {
      if (c == u'/') c = u'.';
    }
    return {LaunchMode::Class, dotted};
  }
  if (!settings.mainJar.empty()) return {LaunchMode::Jar, resolvedIn(paths.folder, expand(settings.mainJar))};
  if (settings.embeddedJar) return {LaunchMode::Jar, paths.module};
  return {};
}

StringList assembleClassPath(const LaunchSettings& settings, const ExecutablePaths& paths,
                             const PlanQueries& machine) {
  StringList classPath;
  const MainTarget main = mainTarget(settings, paths, machine.expand);
  if (main.mode == LaunchMode::Jar && main.text != paths.module) classPath.push_back(main.text);
  if (settings.embeddedJar) classPath.push_back(paths.module);
  appendEntries(settings.classPath, paths, machine, classPath);
  return classPath;
}

bool planVm(const LaunchSettings& settings, const ExecutablePaths& paths, const StringList& arguments,
            const String& libraryPath, const PlanQueries& machine, VmPlan& plan, Failure& failure) {
  const StringList classPath = assembleClassPath(settings, paths, machine);
  plan = VmPlan{};
  plan.main = mainTarget(settings, paths, machine.expand);
  const bool moduleLaunch = plan.main.mode == LaunchMode::Module;
  if (classPath.empty() && !moduleLaunch) {
    failure = {IDS_NO_CLASS_PATH, 0, {}};
    return false;
  }
  if (!libraryPath.empty()) plan.options.push_back(u"-Djava.library.path=" + libraryPath);
  StringList ordered;
  // Without a class path a module launch has no unnamed module's classes, as
  // with the java command.
  if (!classPath.empty()) ordered.push_back(u"-Djava.class.path=" + joinClassPath(classPath));
  StringList moduleOptions;
  if (moduleLaunch) {
    StringList modulePath;
    appendEntries(settings.modulePath, paths, machine, modulePath);
    if (!modulePath.empty()) moduleOptions.push_back(u"--module-path=" + joinClassPath(modulePath));
    // The main module is a root of the boot layer only when named so.
    moduleOptions.push_back(u"-Djdk.module.main=" + plan.main.text.substr(0, plan.main.text.find(u'/')));
  }
  ordered.insert(ordered.end(), moduleOptions.begin(), moduleOptions.end());
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
  // Before the VM parameters, which may override them; judged with the
  // module options too.
  if (settings.classDataSharing) {
    StringList judged = moduleOptions;
    judged.insert(judged.end(), parameters.begin(), parameters.end());
    for (String& option : machine.classDataSharing(classPath, judged)) ordered.push_back(std::move(option));
  }
  for (String& option : parameters) ordered.push_back(std::move(option));
  for (const String& option : ordered) plan.options.push_back(machine.expand(option));
  const bool namedByParameters = std::any_of(plan.options.begin(), plan.options.end(), [](const String& option) {
    return StringView(option).substr(0, kJavaCommandProperty.size()) == kJavaCommandProperty;
  });
  // The arguments as given: no environment references are expanded in them.
  if (!namedByParameters) plan.options.push_back(javaCommand(plan.main, arguments));
  plan.out = {machine.expand(settings.stdoutFile), settings.stdoutAppend};
  plan.err = {machine.expand(settings.stderrFile), settings.stderrAppend};
  return true;
}
