#pragma once
// What the VM of a launch is given, decided before it is created: its options
// in order, the Java thread's stack size and the stream redirections. Built
// from the settings and the executable's paths; the machine is asked only
// through the queries passed in. Portable.
#include <cstdint>
#include <functional>

#include "common/failure.h"
#include "common/text.h"
#include "settings/launch_settings.h"
#include "settings/settings_path.h"
#include "vm/class_path.h"
#include "vm/main_target.h"
#include "vm/vm_parameters.h"

struct StreamRedirection {
  String file;  // environment references expanded; empty: not redirected
  bool append = false;
};

struct VmPlan {
  // The native library path, the class path, the module path and main
  // module, the class-data archive, the VM parameters, environment
  // references expanded.
  StringList options;
  MainTarget main;
  uint32_t javaThreadStackSize = 0;  // 0: the runtime's default
  StreamRedirection out;
  StreamRedirection err;
};

// What planning asks of the machine.
struct PlanQueries {
  ExpandReferences expand;
  // The names of the files and folders a pattern matches, in the order the
  // file system gives them.
  std::function<StringList(const String& pattern)> matchingNames;
  MemoryQuery memory;
  // The text of an argument file, nothing when it cannot be read.
  ArgumentFileReader readTextFile;
  // The class-data archive options for the final class path and VM
  // parameters; asked only with "Class Data Sharing=auto".
  std::function<StringList(const StringList& classPath, const StringList& parameters)> classDataSharing;
};

// What the settings start: with "Module Path" the module "Main Class" names
// ("module/class", or "module" for its own main class); else the class "Main
// Class" names; else the jar "Main Jar" names (environment references
// expanded, beside the executable unless absolute), or the executable itself
// with "Embedded Jar". An empty text: nothing names a main.
MainTarget mainTarget(const LaunchSettings& settings, const ExecutablePaths& paths, const ExpandReferences& expand);

// The class path of a launch: the main jar, the executable itself for an
// embedded jar, then each entry as it is or with what it matches.
StringList assembleClassPath(const LaunchSettings& settings, const ExecutablePaths& paths, const PlanQueries& machine);

// The plan for a launch with `arguments` for main; `libraryPath` is the
// expanded native library path, empty for none. As the java command does, a
// module launch names its module path and main module, and the last option
// names the application for the JDK's tools (sun.java.command: the main
// class, module or jar, then the arguments) unless the VM parameters already
// do. Argument files ("@file" among the VM parameters) are read beside the
// executable unless their path is absolute. Fails when the class path comes
// out empty (a module launch needs none) or an argument file cannot be read.
bool planVm(const LaunchSettings& settings, const ExecutablePaths& paths, const StringList& arguments,
            const String& libraryPath, const PlanQueries& machine, VmPlan& plan, Failure& failure);
