#pragma once
#include "common/text.h"

// True for a network path (\\server\share...), the extended form \\?\UNC\...
// included, as the shell's PathIsUNC sees it.
bool isNetworkPath(StringView path);

// True when the path starts with the extended-length prefix \\?\.
bool hasLongPathPrefix(StringView path);

// The root (drive, \\server, with any \\?\ or \\?\UNC\ prefix) followed by
// the components: C:\logs\out.txt gives C:, logs, out.txt; \dir\f gives
// dir, f. Empty components between doubled separators are kept.
StringList splitPathComponents(StringView path);

// The folder ending in a separator, as path joins need it: a backslash is
// added unless it ends in one (or a slash); an empty folder stays empty.
String withTrailingBackslash(StringView folder);

// The folder of a path, without the backslash after it: C:\Apps\Shop.exe
// gives C:\Apps, C:\Shop.exe gives C:. Empty when there is no backslash.
StringView parentFolder(StringView path);

// The folder of a path with its backslash (C:\Apps\Shop.exe gives C:\Apps\);
// a path without a backslash is given back as it is.
String folderOfPath(StringView path);

// The search pattern as the platform needs it for a long path: 260 characters
// or more get the \\?\ prefix (\\?\UNC\ for network paths) unless they have it.
String withLongPathPrefix(StringView path);
