#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "common/text.h"
#include "common/win32/unique_resource.h"

// True when a search finds at least one entry (file or folder) for the path
// or pattern (in its \\?\ form from 260 characters on).
bool fileOrFolderExists(const String& path);

// Like fileOrFolderExists, but only for absolute paths (isAbsolutePath);
// false for relative ones.
bool pathExists(const String& path);

// The path made full against the current directory and drive; empty when
// the system cannot form it.
String fullPathName(const String& path);
// The path's short (8.3) form; empty when it does not exist or has none.
String shortPathName(const String& path);

// The file's bytes, at most `limit` of them; nothing when it cannot be read.
std::optional<std::string> readFileBytes(const String& path, size_t limit);
// Writes the bytes beside the file and then puts them in its place, so that
// a failed write leaves the file as it was.
bool writeFileReplacing(const String& path, std::string_view bytes);

// RemoveDirectoryW, with the \\?\ prefix for paths of 260 characters or more.
bool removeDirectory(const String& path);

// Creates the missing folders above a file. Returns 0 or the system error of
// the level that could not be created (a half-made level is removed again).
uint32_t createParentFolders(const String& filePath);

// One file search at a time, aware of long paths.
class FileFinder {
 public:
  FileFinder() = default;

  // Starts a search for `pattern` (all entries "*.*" when null). Patterns of
  // 260 characters or more are searched in their \\?\ form; 32767 or more
  // are refused.
  bool findFirst(const String* pattern);
  // The next match of the search; false at its end.
  bool findNext();

  bool found() const { return found_; }
  // The full path of the searched folder, once a search succeeded.
  const String& folder() const { return folder_; }
  const WIN32_FIND_DATAW& data() const { return data_; }

 private:
  void reset();

  UniqueFind search_;
  WIN32_FIND_DATAW data_{};
  bool found_ = false;
  String folder_;
};
