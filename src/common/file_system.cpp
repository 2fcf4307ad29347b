#include "common/file_system.h"

#include "common/path_components.h"
#include "common/win_text.h"

bool fileExists(const String& path) {
  FileFinder finder;
  return finder.findFirst(&path);
}

bool pathExists(const String& path) {
  if (path.size() < 2) return false;
  if (path[1] != u':' && path.substr(0, 2) != u"\\\\") return false;
  return fileExists(path);
}

bool removeDirectory(const String& path) {
  String target = path.size() < 260 || hasLongPathPrefix(path) ? path : u"\\\\?\\" + path;
  return RemoveDirectoryW(wide(target)) != FALSE;
}

namespace {

// A path rooted on the current drive (\logs\out.txt) as a full path, so that
// its folders are made there and not below the current directory.
String withCurrentDrive(const String& path) {
  bool onCurrentDrive = !path.empty() && path[0] == u'\\' && !isNetworkPath(path) && !hasLongPathPrefix(path);
  if (!onCurrentDrive) return path;
  DWORD length = GetFullPathNameW(wide(path), 0, nullptr, nullptr);
  String full(length, u'\0');
  length = length ? GetFullPathNameW(wide(path), length, wideBuffer(full), nullptr) : 0;
  if (length == 0) return path;
  full.resize(length);
  return full;
}

}  // namespace

uint32_t createParentFolders(const String& requestedPath) {
  const String filePath = withCurrentDrive(requestedPath);
  if (pathExists(filePath)) return 0;
  bool network = isNetworkPath(filePath);
  StringList parts = splitPathComponents(filePath);
  if (parts.empty()) return 0;
  // A relative path has no root: its first element is a folder below the
  // current directory and is created like the others.
  bool rooted = (filePath.size() >= 2 && filePath[1] == u':') || filePath[0] == u'\\';
  uint32_t lastError = 0;
  StringList created;
  String current;
  for (size_t i = 0; i + 1 < parts.size(); ++i) {
    String next = current.empty() ? parts[i] : current + u"\\" + parts[i];
    if (i > 0 || !rooted) {
      if (CreateDirectoryW(wide(withLongPathPrefix(next)), nullptr)) {
        created.push_back(next);
      } else {
        lastError = GetLastError();
        if (lastError != ERROR_ALREADY_EXISTS && !network) {
          // Leave no half-made chain behind, but only what this call made:
          // a folder that was there before stays.
          for (auto folder = created.rbegin(); folder != created.rend(); ++folder) removeDirectory(*folder);
          break;
        }
      }
    }
    current = next;
  }
  return lastError == ERROR_ALREADY_EXISTS ? 0 : lastError;
}

void FileFinder::reset() {
  found_ = false;
  search_.reset();
  folder_.clear();
}

bool FileFinder::findNext() {
  found_ = search_ && FindNextFileW(search_.get(), &data_);
  return found_;
}

bool FileFinder::findFirst(const String* pattern) {
  reset();
  String wanted = pattern ? *pattern : String(u"*.*");
  if (wanted.size() >= 32767) return false;
  wanted = withLongPathPrefix(wanted);
  search_.reset(FindFirstFileW(wide(wanted), &data_));
  if (!search_) return false;

  DWORD length = GetFullPathNameW(wide(wanted), 0, nullptr, nullptr);
  String full(length, u'\0');
  length = length ? GetFullPathNameW(wide(wanted), length, wideBuffer(full), nullptr) : 0;
  if (length == 0) {
    reset();
    SetLastError(ERROR_INVALID_NAME);
    return false;
  }
  full.resize(length);
  size_t separator = full.find_last_of(u"\\/");
  folder_ = separator == String::npos ? full : full.substr(0, separator);
  found_ = true;
  return true;
}
