#include "common/win32/file_system.h"

#include <algorithm>

#include "common/path_components.h"
#include "common/win32/win_text.h"

bool fileOrFolderExists(const String& path) {
  FileFinder finder;
  return finder.findFirst(&path);
}

bool pathExists(const String& path) {
  return isAbsolutePath(path) && fileOrFolderExists(path);
}

bool removeDirectory(const String& path) {
  String target = path.size() < 260 || hasLongPathPrefix(path) ? path : u"\\\\?\\" + path;
  return RemoveDirectoryW(wide(target)) != FALSE;
}

String fullPathName(const String& path) {
  DWORD length = GetFullPathNameW(wide(path), 0, nullptr, nullptr);
  String full(length, u'\0');
  length = length ? GetFullPathNameW(wide(path), length, wideBuffer(full), nullptr) : 0;
  full.resize(length);
  return full;
}

String shortPathName(const String& path) {
  DWORD length = GetShortPathNameW(wide(path), nullptr, 0);
  String shortPath(length, u'\0');
  length = length ? GetShortPathNameW(wide(path), wideBuffer(shortPath), length) : 0;
  shortPath.resize(length);
  return shortPath;
}

std::optional<std::string> readFileBytes(const String& path, size_t limit) {
  UniqueFile file(CreateFileW(wide(withLongPathPrefix(path)), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) return std::nullopt;
  std::string bytes(static_cast<size_t>(std::min<uint64_t>(limit, static_cast<uint64_t>(size.QuadPart))), '\0');
  DWORD read = 0;
  if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) return std::nullopt;
  bytes.resize(read);
  return bytes;
}

bool writeFileReplacing(const String& path, std::string_view bytes) {
  const String temporary = withLongPathPrefix(path + u".new");
  {
    UniqueFile file(CreateFileW(wide(temporary), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file || !WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size()) {
      file.reset();
      DeleteFileW(wide(temporary));
      return false;
    }
  }
  if (MoveFileExW(wide(temporary), wide(withLongPathPrefix(path)), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  DeleteFileW(wide(temporary));
  return false;
}

namespace {

// A path rooted on the current drive (\logs\out.txt) as a full path, so that
// its folders are made there and not below the current directory.
String withCurrentDrive(const String& path) {
  bool onCurrentDrive = !path.empty() && path[0] == u'\\' && !isNetworkPath(path) && !hasLongPathPrefix(path);
  if (!onCurrentDrive) return path;
  String full = fullPathName(path);
  return full.empty() ? path : full;
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

  const String full = fullPathName(wanted);
  if (full.empty()) {
    reset();
    SetLastError(ERROR_INVALID_NAME);
    return false;
  }
  folder_ = full.find_last_of(u"\\/") == String::npos ? full : String(parentFolder(full));
  found_ = true;
  return true;
}
