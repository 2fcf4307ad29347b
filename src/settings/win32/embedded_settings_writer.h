#pragma once
// Writes embedded settings into a launcher executable (resource RCDATA 8000),
// for packaging tools. The launcher itself only reads them.
#include "common/text.h"

// Replaces the embedded settings of the executable at `exePath` with `text`,
// enciphered for `upgradeCode`. Returns 0 or the system error code.
uint32_t writeEmbeddedSettings(const String& exePath, StringView text, StringView upgradeCode);

// Writes raw bytes as resource RCDATA 8000 (for tests of damaged resources).
uint32_t writeEmbeddedSettingsResource(const String& exePath, const void* data, uint32_t size);
