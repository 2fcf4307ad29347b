#include "common/file_system.h"

#include "common/win_text.h"

bool fileExists(const String& path) {
  WIN32_FIND_DATAW data;
  HANDLE search = FindFirstFileW(wide(path), &data);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return true;
}
