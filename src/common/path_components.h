#pragma once
#include "common/text.h"

// True for a network path (\\server\share...), the extended form \\?\UNC\...
// included, as the shell's PathIsUNC sees it.
bool isNetworkPath(StringView path);

// True for a drive path (second character ':') or one starting with "\\",
// the paths a launch takes as they are rather than beside the executable.
bool isAbsolutePath(StringView path);

// The path as it stands when absolute, otherwise inside `folder`.
String resolvedIn(StringView folder, StringView path);

// True when the path starts with the extended-length prefix \\?\.
bool hasLongPathPrefix(StringView path);

// The root (drive, \\server, with any \\?\ or \\?\UNC\ prefix) followed by
// the components: C:\logs\out.txt gives C:, logs, out.txt; \dir\f gives
// dir, f. Empty components between doubled separators are kept.
StringList splitPathComponents(StringView path);

// The folder ending in a separator, as path joins need it: a backslash is
// added unless it ends in one (or a slash); an empty folder stays empty.
String withTrailingBackslash(StringView folder);

// Paths take "\\" and "/" alike as separators.

// The folder of a path, without the separator after it: C:\Apps\Shop.exe
// gives C:\Apps, C:\Shop.exe gives C:. Empty when there is no separator.
StringView parentFolder(StringView path);

// The folder of a path with its separator (C:\Apps\Shop.exe gives C:\Apps\);
// a path without a separator is given back as it is.
String folderOfPath(StringView path);

// The folder of a path as a sibling's path is joined to it: without its
// separator, "." for a bare name.
String folderOrCurrent(StringView path);

// The last component: C:\Apps\Shop.exe gives Shop.exe.
StringView fileNameOf(StringView path);

// A file name without what follows its last ".": Shop.exe gives Shop.
StringView withoutExtension(StringView fileName);

// The search pattern as the platform needs it for a long path: 260 characters
// or more get the \\?\ prefix (\\?\UNC\ for network paths) unless they have it.
String withLongPathPrefix(StringView path);
