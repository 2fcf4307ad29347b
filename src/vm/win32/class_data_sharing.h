#pragma once
// "Class Data Sharing=auto": an application class-data archive per user and
// runtime, which Java 19 and later create on the first launch and map on the
// later ones, so that they load the application's classes faster.
#include "common/text.h"
#include "settings/win32/per_user_settings.h"

// Java's first version that creates the archive by itself.
constexpr int32_t kAutoArchiveJavaVersion = 19;

// The options for the runtime of `jvmDllPath`: the archive's file below
// %LOCALAPPDATA%\<Product Name>\<Product Code>\, named after the runtime's
// path and build, and its creation. An existing file there that the runtime
// could not map is deleted, so that this launch writes it anew.
//
// None whenever the runtime could not write the archive, which it reports by
// ending the process with 1 after main: an older runtime (by its release
// file) or one without its own base archive, a class path with anything but
// existing files, `vmParameters` that prevent archiving, or an archive path
// that is not writable or not expressible in the thread's ANSI code page.
StringList classDataSharingOptions(const String& jvmDllPath, const ProductIdentity& product,
                                   const String& executablePath, const StringList& classPath,
                                   const StringList& vmParameters);
