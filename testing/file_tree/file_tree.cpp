#include "file_tree/file_tree.h"

#include <windows.h>

namespace {

std::wstring extended(const std::wstring& path) {
  return path.compare(0, 4, L"\\\\?\\") == 0 ? path : L"\\\\?\\" + path;
}

void removeContents(const std::wstring& folder) {
  WIN32_FIND_DATAW data;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    std::wstring child = folder + L"\\" + name;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      removeContents(child);
      RemoveDirectoryW(child.c_str());
    } else {
      SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(child.c_str());
    }
  } while (FindNextFileW(search, &data));
  FindClose(search);
}

}  // namespace

void removeTree(const std::wstring& path) {
  // Only absolute paths: a relative one would be taken from wherever the
  // test happens to run.
  if (path.size() < 3 || path[1] != L':' || path[2] != L'\\') return;
  std::wstring folder = extended(path);
  removeContents(folder);
  RemoveDirectoryW(folder.c_str());
}

void createTree(const std::wstring& path) {
  std::wstring folder = extended(path);
  for (size_t pos = folder.find(L'\\', 7); pos != std::wstring::npos; pos = folder.find(L'\\', pos + 1)) {
    CreateDirectoryW(folder.substr(0, pos).c_str(), nullptr);
  }
  CreateDirectoryW(folder.c_str(), nullptr);
}

void copyTree(const std::wstring& from, const std::wstring& to) {
  createTree(to);
  WIN32_FIND_DATAW data;
  HANDLE search = FindFirstFileW((extended(from) + L"\\*").c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      copyTree(from + L"\\" + name, to + L"\\" + name);
    } else {
      CopyFileW(extended(from + L"\\" + name).c_str(), extended(to + L"\\" + name).c_str(), FALSE);
    }
  } while (FindNextFileW(search, &data));
  FindClose(search);
}
