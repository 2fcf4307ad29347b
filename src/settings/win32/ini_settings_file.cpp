#include "settings/win32/ini_settings_file.h"

#include "common/win32/unique_resource.h"
#include "common/win32/win_text.h"

uint32_t IniSettingsFile::readHeader(uint8_t (&header)[4]) {
  UniqueFile file(CreateFileW(wide(path_), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return GetLastError();
  DWORD read = 0;
  if (!ReadFile(file.get(), header, sizeof header, &read, nullptr)) return GetLastError();
  return read == sizeof header ? 0 : ERROR_HANDLE_EOF;
}

String IniSettingsFile::getValue(const String& section, const String& key) {
  String buffer;
  // A count of size - 1 means the value may have been cut: read again with
  // twice the room, so the buffer follows the value, not the file's size.
  for (DWORD size = 256;; size *= 2) {
    buffer.assign(size, u'\0');
    DWORD length = GetPrivateProfileStringW(wide(section), wide(key), L"", wideBuffer(buffer), size, wide(path_));
    if (length != size - 1) {
      buffer.resize(length);
      return buffer;
    }
  }
}

StringList IniSettingsFile::getSectionNames() {
  String buffer;
  for (DWORD size = 256;; size *= 2) {
    buffer.assign(size, u'\0');
    DWORD length = GetPrivateProfileSectionNamesW(wideBuffer(buffer), size, wide(path_));
    if (length != size - 2) {
      buffer.resize(length);
      break;
    }
  }
  StringList names;
  for (size_t start = 0; start < buffer.size();) {
    size_t end = buffer.find(u'\0', start);
    if (end == String::npos) end = buffer.size();
    if (end > start) names.push_back(buffer.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

bool IniSettingsFile::setValue(const String& section, const String& key, const String& value) {
  return WritePrivateProfileStringW(wide(section), wide(key), wide(value), wide(path_)) != FALSE;
}

bool IniSettingsFile::deleteFile() { return DeleteFileW(wide(path_)) != FALSE; }
