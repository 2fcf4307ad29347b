#include "file_io.h"

#include <windows.h>

#include "common/win_text.h"

String folderOf(const String& path) {
  size_t slash = path.find_last_of(u"\\/");
  return slash == String::npos ? String(u".") : path.substr(0, slash);
}

String fileNameOf(const String& path) {
  size_t slash = path.find_last_of(u"\\/");
  return slash == String::npos ? path : path.substr(slash + 1);
}

std::string systemMessage(uint32_t code) {
  wchar_t* text = nullptr;
  FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                 code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  String message = trimWhiteSpace(fromWide(text));
  LocalFree(text);
  return toUtf8(message) + " (error " + std::to_string(code) + ")";
}

bool readWholeFile(const String& path, ByteBuffer& bytes, std::string& error) {
  HANDLE file = CreateFileW(wide(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  LARGE_INTEGER size{};
  if (file == INVALID_HANDLE_VALUE || !GetFileSizeEx(file, &size) || size.QuadPart > 0x7FFFFFFF) {
    DWORD code = file == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_FILE_TOO_LARGE;
    error = "cannot read " + toUtf8(path) + ": " + systemMessage(code);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return false;
  }
  bytes.resize(static_cast<size_t>(size.QuadPart));
  DWORD read = 0;
  bool ok = bytes.empty() ||
            (ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) && read == bytes.size());
  DWORD code = GetLastError();
  CloseHandle(file);
  if (!ok) error = "cannot read " + toUtf8(path) + ": " + systemMessage(code);
  return ok;
}

bool writeWholeFile(const String& path, const ByteBuffer& bytes, std::string& error) {
  HANDLE file = CreateFileW(wide(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  bool ok = file != INVALID_HANDLE_VALUE &&
            WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size();
  DWORD code = GetLastError();
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  if (!ok) error = "cannot write " + toUtf8(path) + ": " + systemMessage(code);
  return ok;
}

String decodeIniText(const ByteBuffer& bytes) {
  if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
    String text((bytes.size() - 2) / 2, u'\0');
    for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char16_t>(bytes[2 + 2 * i] | (bytes[3 + 2 * i] << 8));
    return text;
  }
  if (bytes.empty()) return {};
  const char* data = reinterpret_cast<const char*>(bytes.data());
  int length = MultiByteToWideChar(CP_ACP, 0, data, static_cast<int>(bytes.size()), nullptr, 0);
  String text(static_cast<size_t>(length), u'\0');
  MultiByteToWideChar(CP_ACP, 0, data, static_cast<int>(bytes.size()), wideBuffer(text), length);
  return text;
}
