// The embedded settings resource: any bytes decode without harm, and what is
// encoded decodes back to the same text.
#include "fuzz_input.h"
#include "settings/embedded_settings_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  const String upgradeCode = input.text(input.byte() % 48);
  decodeEmbeddedSettings(input.rest(), input.restSize(), upgradeCode);
  const String text = input.text();
  Bytes stored = encodeEmbeddedSettings(text, upgradeCode);
  require(decodeEmbeddedSettings(stored.data(), stored.size(), upgradeCode) == text);
  return 0;
}
