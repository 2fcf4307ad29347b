#include "settings/win32/embedded_settings_writer.h"

#include "common/win32/win_text.h"
#include "settings/embedded_settings_codec.h"

uint32_t writeEmbeddedSettingsResource(const String& exePath, const void* data, uint32_t size) {
  HANDLE update = BeginUpdateResourceW(wide(exePath), FALSE);
  if (!update) return GetLastError();
  if (!UpdateResourceW(update, RT_RCDATA, MAKEINTRESOURCEW(8000), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                       const_cast<void*>(data), size)) {
    DWORD error = GetLastError();
    EndUpdateResourceW(update, TRUE);
    return error;
  }
  return EndUpdateResourceW(update, FALSE) ? 0 : GetLastError();
}

uint32_t writeEmbeddedSettings(const String& exePath, StringView text, StringView upgradeCode) {
  Bytes stored = encodeEmbeddedSettings(text, upgradeCode);
  return writeEmbeddedSettingsResource(exePath, stored.data(), static_cast<uint32_t>(stored.size()));
}
