#pragma once
#include <windows.h>

#include <string>

namespace robot {

// Selects `path` (for example C:\apps\jre) in the tree of a folder picker
// window of another process or this one, expanding the items on the way.
// Returns false when a part of the path is not in the tree.
bool selectFolderInPicker(HWND picker, const std::wstring& path);

}  // namespace robot
