#pragma once
// "Class Data Sharing=auto": an application class-data archive per user and
// runtime, which Java 19 and later create on the first launch and map on the
// later ones, so that they load the application's classes faster.
#include "common/text.h"
#include "settings/per_user_settings.h"

// Java's first version that creates the archive by itself.
constexpr int32_t kAutoArchiveJavaVersion = 19;

// The options for the runtime of `jvmDllPath`: the archive's file below
// %LOCALAPPDATA%\<Product Name>\<Product Code>\ and its creation. None for an
// older runtime (by its release file), when that folder cannot be made, or
// for a class path with anything but existing files: the runtime archives
// classes of jars only, and ends the process with 1 when it tries a folder.
StringList classDataSharingOptions(const String& jvmDllPath, const ProductIdentity& product,
                                   const String& executablePath, const StringList& classPath);
