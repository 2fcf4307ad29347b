#pragma once
// What HotSpot's dynamic class-data archive (Java 19 and later) tolerates:
// which files it can map and which VM options keep it from writing one.
// Portable.
#include <cstddef>
#include <cstdint>

#include "common/text.h"

// Bytes of a file's start that the checks below read: the header fields that
// every archive version shares.
constexpr size_t kArchiveHeaderBytes = 24;

// The format version of the runtime's own base archive (classes.jsa beside
// the VM library), read from its first bytes; 0 when they are not a base
// archive's.
uint32_t baseArchiveVersion(const uint8_t* head, size_t headSize);

// True when the start of a file of `fileSize` bytes is a dynamic archive's
// header of `baseVersion`'s format, with sizes that fit the file. HotSpot
// writes the header last, so an archive cut short starts with zeros; it
// neither maps nor replaces such a file, nor one of another format.
bool isDynamicArchiveOf(uint32_t baseVersion, const uint8_t* head, size_t headSize, uint64_t fileSize);

// The first VM option with which HotSpot cannot write the archive and ends
// the process with 1 as it tries (or does not start at all): a Java or native
// agent, an archive asked for at exit, or a folder on the appended boot class
// path (entries split at `separator`; `isFolder` tells folders); or one of
// the module options with which it cannot use one. Empty when there is none.
String optionPreventingArchive(const StringList& options, char16_t separator, bool (*isFolder)(const String&));
