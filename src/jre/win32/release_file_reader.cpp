#include <windows.h>

#include <string>

#include "common/win32/unique_resource.h"
#include "common/win32/win_text.h"
#include "jre/release_file.h"

ReleaseInfo readReleaseFile(const String& home) {
  UniqueFile file(CreateFileW(wide(home + u"release"), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return {};
  std::string text(kReleaseFileLimit, '\0');
  DWORD read = 0;
  if (!ReadFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &read, nullptr)) return {};
  text.resize(read);
  return parseReleaseText(text);
}
