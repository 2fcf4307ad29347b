#pragma once
// Folder trees for tests: removed and created with extended-length paths, so
// trees deeper than 260 characters are handled too. (The shell's own tree
// deletion cannot be used for them: under Wine it deletes the wrong files.)
#include <string>

// Removes a folder and everything below it; a missing folder is fine.
void removeTree(const std::wstring& path);

// Creates a folder and the missing folders above it.
void createTree(const std::wstring& path);

// Copies a folder and everything below it into `to` (created when missing).
void copyTree(const std::wstring& from, const std::wstring& to);
