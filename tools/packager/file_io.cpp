#include "file_io.h"

#include <windows.h>

#include "common/win32/unique_resource.h"
#include "common/win32/win_text.h"
#include "settings/profile_text.h"

namespace {
void writeTo(DWORD stream, const std::string& text) {
  DWORD written = 0;
  WriteFile(GetStdHandle(stream), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}
}  // namespace

void printOut(const std::string& text) { writeTo(STD_OUTPUT_HANDLE, text); }
void printError(const std::string& text) { writeTo(STD_ERROR_HANDLE, text); }

std::string systemMessage(uint32_t code) {
  wchar_t* text = nullptr;
  FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                 code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  String message = trimWhiteSpace(fromWide(text));
  LocalFree(text);
  return toUtf8(message) + " (error " + std::to_string(code) + ")";
}

bool readWholeFile(const String& path, ByteBuffer& bytes, std::string& error) {
  UniqueFile file(CreateFileW(wide(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  LARGE_INTEGER size{};
  if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart > 0x7FFFFFFF) {
    DWORD code = !file ? GetLastError() : ERROR_FILE_TOO_LARGE;
    error = "cannot read " + toUtf8(path) + ": " + systemMessage(code);
    return false;
  }
  bytes.resize(static_cast<size_t>(size.QuadPart));
  DWORD read = 0;
  bool ok = bytes.empty() || (ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
                              read == bytes.size());
  if (!ok) error = "cannot read " + toUtf8(path) + ": " + systemMessage(GetLastError());
  return ok;
}

namespace {

bool writeBytes(const String& path, const ByteBuffer& bytes, DWORD access, DWORD disposition, const char* doing,
                std::string& error) {
  UniqueFile file(CreateFileW(wide(path), access, 0, nullptr, disposition, 0, nullptr));
  DWORD written = 0;
  bool ok = file && WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size();
  if (!ok) error = std::string(doing) + toUtf8(path) + ": " + systemMessage(GetLastError());
  return ok;
}

}  // namespace

bool writeWholeFile(const String& path, const ByteBuffer& bytes, std::string& error) {
  return writeBytes(path, bytes, GENERIC_WRITE, CREATE_ALWAYS, "cannot write ", error);
}

bool appendToFile(const String& path, const ByteBuffer& bytes, std::string& error) {
  return writeBytes(path, bytes, FILE_APPEND_DATA, OPEN_EXISTING, "cannot append to ", error);
}

String decodeIniText(const ByteBuffer& bytes) {
  const std::string_view view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (std::optional<String> text = markedSettingsText(view)) return *text;
  if (bytes.empty()) return {};
  const int size = static_cast<int>(bytes.size());
  int length = MultiByteToWideChar(CP_ACP, 0, view.data(), size, nullptr, 0);
  String text(static_cast<size_t>(length), u'\0');
  MultiByteToWideChar(CP_ACP, 0, view.data(), size, wideBuffer(text), length);
  return text;
}
