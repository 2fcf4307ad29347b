#include "settings/win32/ini_settings_file.h"

#include "common/path_components.h"
#include "common/win32/file_system.h"
#include "common/win32/unique_resource.h"
#include "common/win32/win_text.h"

namespace {

constexpr size_t kSettingsFileLimit = 64u << 20;

}  // namespace

String IniSettingsFile::profilePath() const {
  if (path_.size() < MAX_PATH) return path_;
  String shortPath = shortPathName(withLongPathPrefix(path_));
  if (hasLongPathPrefix(shortPath) && shortPath.compare(0, 8, u"\\\\?\\UNC\\") != 0) shortPath.erase(0, 4);
  return !shortPath.empty() && shortPath.size() < MAX_PATH ? shortPath : path_;
}

const ProfileText* IniSettingsFile::utf8Text() {
  if (!probed_) {
    probed_ = true;
    std::optional<std::string> head = readFileBytes(path_, 3);
    std::optional<std::string> bytes = head && isUtf8Marked(*head) ? readFileBytes(path_, kSettingsFileLimit) : std::nullopt;
    if (bytes && isUtf8Marked(*bytes)) utf8_.emplace(*markedSettingsText(*bytes));
  }
  return utf8_ ? &*utf8_ : nullptr;
}

uint32_t IniSettingsFile::readHeader(uint8_t (&header)[4]) {
  UniqueFile file(CreateFileW(wide(withLongPathPrefix(path_)), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return GetLastError();
  DWORD read = 0;
  if (!ReadFile(file.get(), header, sizeof header, &read, nullptr)) return GetLastError();
  return read == sizeof header ? 0 : ERROR_HANDLE_EOF;
}

String IniSettingsFile::getValue(const String& section, const String& key) {
  String buffer;
  if (const ProfileText* text = utf8Text()) {
    text->lookup(section, key, buffer);
    return buffer;
  }
  // A count of size - 1 means the value may have been cut: read again with
  // twice the room, so the buffer follows the value, not the file's size.
  for (DWORD size = 256;; size *= 2) {
    buffer.assign(size, u'\0');
    DWORD length = GetPrivateProfileStringW(wide(section), wide(key), L"", wideBuffer(buffer), size, wide(profilePath()));
    if (length != size - 1) {
      buffer.resize(length);
      return buffer;
    }
  }
}

StringList IniSettingsFile::getSectionNames() {
  if (const ProfileText* text = utf8Text()) return text->sectionNames();
  String buffer;
  for (DWORD size = 256;; size *= 2) {
    buffer.assign(size, u'\0');
    DWORD length = GetPrivateProfileSectionNamesW(wideBuffer(buffer), size, wide(profilePath()));
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
  if (utf8Text()) {
    std::optional<std::string> bytes = readFileBytes(path_, kSettingsFileLimit);
    std::optional<String> text = bytes ? markedSettingsText(*bytes) : std::nullopt;
    if (!text) return false;
    const String changed = profileTextWithValue(*text, section, key, value);
    if (!writeFileReplacing(path_, "\xEF\xBB\xBF" + toUtf8(changed))) return false;
    utf8_.emplace(changed);
    return true;
  }
  return WritePrivateProfileStringW(wide(section), wide(key), wide(value), wide(profilePath())) != FALSE;
}

bool IniSettingsFile::deleteFile() { return DeleteFileW(wide(path_)) != FALSE; }
