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

// The VM's options in the thread's ANSI code page, in the order they are
// given: the native library path first, the class path, the class-data
// archive, the VM parameters.
using VmOptions = std::vector<std::string>;

// Publishes the chosen runtime to the process environment before anything of
// it is loaded: QL_JVM_PATH, QL_JVM_HOME, the runtime's bin folder on Path,
// and the native library path option when one is configured. Cannot fail in
// a way the launch could act on.
void prepareVmEnvironment(const String& jvmDllPath, const LaunchSettings& settings, const ExecutablePaths& paths,
                          VmOptions& options);

// Loads jvm.dll and looks up its entry points.
bool loadVmLibrary(const String& jvmDllPath, JvmEntries& entries, Failure& failure);

// Appends the class path, the class-data archive options and the VM
// parameters; `javaThreadStackSize` gets the -Xss value when one is given.
bool buildVmOptions(const String& jvmDllPath, const LaunchSettings& settings, const ExecutablePaths& paths,
                    VmOptions& options, uint32_t& javaThreadStackSize, Failure& failure);
