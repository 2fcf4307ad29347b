#include "settings/win32/executable_paths.h"

#include "common/win32/win_text.h"

bool currentExecutablePaths(ExecutablePaths& paths, DWORD& error) {
  // Extended-length paths are limited to 32767 characters; beyond that the
  // system cannot have handed us a longer name.
  constexpr DWORD kMaxPath = 32768;
  String module;
  for (DWORD capacity = MAX_PATH;; capacity *= 2) {
    module.assign(capacity, u'\0');
    const DWORD length = GetModuleFileNameW(nullptr, wideBuffer(module), capacity);
    if (length == 0) {
      error = GetLastError();
      return false;
    }
    if (length < capacity || capacity >= kMaxPath) {
      module.resize(length < capacity ? length : capacity - 1);
      paths = executablePathsFor(module);
      return true;
    }
  }
}
