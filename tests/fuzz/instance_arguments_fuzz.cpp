// The shared instance block: any block content decodes, and arguments that
// fit come back unchanged.
#include <cstring>

#include "fuzz_input.h"
#include "common/split_string.h"
#include "launcher/instance_arguments.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SharedInstanceBlock block{};
  std::memcpy(&block, data, size < sizeof block ? size : sizeof block);
  decodeInstanceArguments(block);

  FuzzInput input(data, size);
  // Arguments come from a command line, which cannot hold a zero unit.
  String text = input.text();
  std::erase(text, u'\0');
  StringList arguments;
  splitString(text, u"\n", arguments);
  SharedInstanceBlock fresh{};
  // No arguments at all read back as one empty argument, as older writers meant.
  if (!arguments.empty() && encodeInstanceArguments(arguments, fresh)) require(decodeInstanceArguments(fresh) == arguments);
  return 0;
}
