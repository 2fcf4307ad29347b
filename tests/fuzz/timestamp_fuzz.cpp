// Time-stamped file names: any name and any formatter result expand safely,
// and a name without "%" stays as it is.
#include "fuzz_input.h"
#include "vm/timestamp_name.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  const uint32_t milliseconds = input.byte() * 4u;
  const String replacement = input.text(input.byte() % 8);
  String name = input.text();
  const String original = name;
  expandTimestamp(name, milliseconds, [&](const String& picture) { return replacement + picture; });
  if (original.find(u'%') == String::npos) require(name == original);
  return 0;
}
