// The embedded settings text: any text parses, and every section and key it
// lists can be looked up again.
#include "fuzz_input.h"
#include "settings/embedded_settings_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  EmbeddedSettingsTable table;
  table.loadFromText(input.text());
  for (const String& name : table.getSectionNames()) {
    const EmbeddedSettingsTable::Section* section = table.findSection(name);
    require(section != nullptr);
    for (const auto& pair : section->pairs) {
      String value;
      require(table.lookup(name, pair.key, value));
    }
  }
  return 0;
}
