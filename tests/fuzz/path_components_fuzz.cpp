// Paths: any text splits into components and takes the long-path prefix once.
#include "common/path_components.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  const String path = input.text();
  splitPathComponents(path);
  isNetworkPath(path);
  const String prefixed = withLongPathPrefix(path);
  require(withLongPathPrefix(prefixed) == prefixed);
  return 0;
}
