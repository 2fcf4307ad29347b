#include "settings/win32/layered_settings.h"

#include "common/win32/win_text.h"
#include "settings/embedded_settings_codec.h"

LayeredSettings::LayeredSettings(String path, StringView embeddedText) : IniSettingsFile(std::move(path)) {
  embedded_.loadFromText(embeddedText);
}

String LayeredSettings::getValue(const String& section, const String& key) {
  String result;
  embedded_.lookup(section, key, result);
  String own = IniSettingsFile::getValue(section, key);
  if (!own.empty()) return own;
  String appended = IniSettingsFile::getValue(section + u"+", key);
  if (!appended.empty()) {
    if (appended[0] != u' ') result += u' ';
    result += appended;
  }
  return result;
}

String embeddedSettingsTextOf(HMODULE module, const String& upgradeCode) {
  constexpr int kEmbeddedSettingsResource = 8000;
  HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(kEmbeddedSettingsResource), RT_RCDATA);
  if (!resource) return String();
  HGLOBAL loaded = LoadResource(module, resource);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return String();
  return decodeEmbeddedSettings(static_cast<const uint8_t*>(data), SizeofResource(module, resource), upgradeCode);
}

String embeddedSettingsText(const String& upgradeCode) {
  // The resource cannot change while the process runs, and several readers
  // of one launch ask for it: decipher once per upgrade code.
  static SRWLOCK lock = SRWLOCK_INIT;
  static bool known = false;
  static String knownCode, knownText;
  AcquireSRWLockExclusive(&lock);
  if (!known || knownCode != upgradeCode) {
    knownText = embeddedSettingsTextOf(GetModuleHandleW(nullptr), upgradeCode);
    knownCode = upgradeCode;
    known = true;
  }
  String text = knownText;
  ReleaseSRWLockExclusive(&lock);
  return text;
}
