#pragma once
// Files for the Windows-side tests, written the ways users write them.
#include <string>

#include "common/text.h"
#include "settings/settings_path.h"

// A fresh, empty folder under the temporary folder; returns its path with no
// trailing backslash.
String freshTempFolder(const std::string& name);

// Writes `text` as ANSI bytes (ASCII content) or as UTF-16LE with a byte-order mark.
void writeAnsiFile(const String& path, const std::string& text);
void writeUtf16File(const String& path, const String& text);
void writeBytes(const String& path, const std::string& bytes);

// The paths of the running test executable, and its settings file (beside it).
ExecutablePaths ownPaths();
String ownSettingsFile();
