// Command lines: any text splits into tokens, and each token is found again.
#include "fuzz_input.h"
#include "launcher/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  StringList tokens;
  splitCommandLine(input.text(), tokens);
  for (size_t i = 0; i < tokens.size() && i < 16; ++i) {
    int found = findArgument(tokens, tokens[i]);
    require(found >= 0 && static_cast<size_t>(found) <= i);
  }
  return 0;
}
