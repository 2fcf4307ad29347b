#include "test_files.h"

#include <fstream>

#include "file_tree/file_tree.h"

#include "common/win32/win_text.h"
#include "settings/win32/executable_paths.h"

String freshTempFolder(const std::string& name) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  String folder = fromWide(temp) + u"launcher-tests\\" + fromUtf8(name);
  removeTree(wide(folder));
  createTree(wide(folder));
  return folder;
}

void writeBytes(const String& path, const std::string& bytes) {
  std::ofstream(wide(path), std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void writeAnsiFile(const String& path, const std::string& text) { writeBytes(path, text); }

void writeUtf16File(const String& path, const String& text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  writeBytes(path, bytes);
}

ExecutablePaths ownPaths() {
  ExecutablePaths paths;
  DWORD error = 0;
  currentExecutablePaths(paths, error);
  return paths;
}

String ownSettingsFile() { return ownPaths().settings; }
