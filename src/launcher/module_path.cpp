#include "launcher/module_path.h"

#include "common/path_components.h"
#include "common/win_text.h"
#include "launcher/error_report.h"
#include "resources/resource_ids.h"
#include "settings/settings_path.h"

bool modulePath(String& path) {
  // Extended-length paths are limited to 32767 characters; beyond that the
  // system cannot have handed us a longer name.
  constexpr DWORD kMaxPath = 32768;
  for (DWORD capacity = MAX_PATH;; capacity *= 2) {
    path.assign(capacity, u'\0');
    DWORD length = GetModuleFileNameW(nullptr, wideBuffer(path), capacity);
    if (length == 0) {
      DWORD error = GetLastError();
      path.clear();
      showWindowsError(IDS_NO_MODULE_PATH, error);
      return false;
    }
    if (length < capacity || capacity >= kMaxPath) {
      path.resize(length < capacity ? length : capacity - 1);
      return true;
    }
  }
}

bool executableFolder(String& folder) {
  String path;
  if (!modulePath(path)) return false;
  folder = folderOfPath(path);
  return true;
}

bool settingsFilePath(String& path) {
  String module;
  return modulePath(module) && settingsPathForModule(module, path);
}
