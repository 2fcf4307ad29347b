#include "common/win32/system_library.h"

#include "common/win32/win_text.h"

HMODULE loadSystemLibrary(const wchar_t* fileName) {
  UINT length = GetSystemDirectoryW(nullptr, 0);
  if (length == 0) return nullptr;
  String path(length, u'\0');
  length = GetSystemDirectoryW(wideBuffer(path), length);
  if (length == 0) return nullptr;
  path.resize(length);
  path += u'\\';
  path += fromWide(fileName);
  // A full path is looked up nowhere else; the altered search order makes the
  // DLL's own dependencies resolve from its folder too.
  return LoadLibraryExW(wide(path), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
