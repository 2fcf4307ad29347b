// "Virtual Machine Parameters": any value splits and processes, with quotes,
// memory shares, stack sizes and argument files (the value itself) of any shape.
#include "fuzz_input.h"
#include "vm/vm_parameters.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  const uint8_t shape = input.byte();
  const MemoryQuery memory = [shape] {
    return MemoryFigures{uint64_t{shape} << 30, (uint64_t{shape} << 40) | 0xFFF};
  };
  const String value = input.text();
  uint32_t stackSize = 0;
  String unreadable;
  vmParameterOptions(
      value, memory, stackSize,
      [&value](const String& name) { return name.size() % 2 ? std::optional<String>(value) : std::nullopt; },
      &unreadable);
  removeQuotes(value);
  parseNumberList(value);
  applyMemoryPercentage(value, memory);
  for (size_t at = 0, end; at < value.size(); at = end + 1) {
    end = nextParameterEnd(value, at);
    require(end >= at && end <= value.size());
  }
  return 0;
}
