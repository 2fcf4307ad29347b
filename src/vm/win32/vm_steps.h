#pragma once
// The steps that prepare the VM of a launch, each taking what it reads and
// returning what it decides; a step that fails says why in `failure`.
#include <cstdint>
#include <string>
#include <vector>

#include "common/failure.h"
#include "common/text.h"
#include "settings/launch_settings.h"
#include "settings/settings_path.h"
#include "vm/jni_entries.h"
#include "vm/vm_plan.h"

// The plan's options in the process's ANSI code page, as the VM takes them.
using VmOptions = std::vector<std::string>;

// Publishes the chosen runtime to the process environment before anything of
// it is loaded: QL_JVM_PATH, QL_JVM_HOME, the runtime's bin folder on Path.
// Cannot fail in a way the launch could act on. Returns the native library
// path, expanded before Path changes; empty when none is configured.
String prepareVmEnvironment(const String& jvmDllPath, const LaunchSettings& settings, const ExecutablePaths& paths);

// Loads jvm.dll and looks up its entry points.
bool loadVmLibrary(const String& jvmDllPath, JvmEntries& entries, Failure& failure);

// The VM plan, with this machine's environment, files and memory, after
// prepareVmEnvironment.
bool planLaunchVm(const String& jvmDllPath, const LaunchSettings& settings, const ExecutablePaths& paths,
                  const StringList& arguments, const String& libraryPath, VmPlan& plan, Failure& failure);

// The plan's options as the VM reads them, paths it cannot read in their
// short form; fails naming what the VM could not receive.
bool encodeLaunchVmOptions(const StringList& options, VmOptions& encoded, Failure& failure);
