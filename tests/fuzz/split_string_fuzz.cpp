// Lists: any text splits at any separator into parts free of the separator.
#include "common/split_string.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  const String separator = input.text(1 + input.byte() % 3);
  StringList parts;
  splitString(input.text(), separator, parts);
  if (separator.empty()) return 0;
  for (const String& part : parts) require(part.find(separator) == String::npos);
  return 0;
}
