// Version texts: parsing any text gives a version equal to itself, and its
// printed form parses to the same parts it shows.
#include "fuzz_input.h"
#include "jre/version_number.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  const int32_t fill = input.byte() % 2 ? 65535 : 0;
  VersionNumber version;
  if (!parseVersion(input.text(), fill, version)) return 0;
  require(compareVersions(version, version) == 0);
  require(withinBounds(version, version, version));
  VersionNumber again;
  require(parseVersion(formatVersion(version), fill, again));
  return 0;
}
