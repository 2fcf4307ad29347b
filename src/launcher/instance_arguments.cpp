#include "launcher/instance_arguments.h"

#include <cstddef>
#include <cstring>

namespace {

const char kCountMark[4] = {'A', 'R', 'G', 'C'};
constexpr size_t kAreaUnits = sizeof(SharedInstanceBlock::argumentArea) / 2;

char16_t unitAt(const uint8_t* bytes, size_t unit) {
  return static_cast<char16_t>(bytes[unit * 2] | (bytes[unit * 2 + 1] << 8));
}

// The reading of older versions: the walk goes on into the unused area, up
// to the block's last whole unit, and ends at the first double zero.
StringList walkUntilDoubleZero(const SharedInstanceBlock& block) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(&block);
  const size_t start = offsetof(SharedInstanceBlock, argumentArea);
  StringList arguments;
  String current;
  for (size_t offset = start; offset + 1 < 2090; offset += 2) {
    char16_t unit = static_cast<char16_t>(bytes[offset] | (bytes[offset + 1] << 8));
    if (unit != 0) {
      current += unit;
      continue;
    }
    arguments.push_back(current);
    current.clear();
    bool last = offset + 3 < sizeof block && (bytes[offset + 2] | bytes[offset + 3]) == 0;
    if (last) return arguments;
  }
  return arguments;
}

}  // namespace

bool fitsInstanceBlock(const StringList& arguments) {
  size_t bytes = 2;
  for (const String& argument : arguments) bytes += argument.size() * 2 + 2;
  return bytes <= sizeof(SharedInstanceBlock::argumentArea);
}

bool encodeInstanceArguments(const StringList& arguments, SharedInstanceBlock& block) {
  if (!fitsInstanceBlock(arguments)) return false;

  std::memset(block.argumentArea, 0, sizeof block.argumentArea);
  size_t unit = 0;
  for (const String& argument : arguments) {
    for (char16_t c : argument) {
      block.argumentArea[unit * 2] = static_cast<uint8_t>(c & 0xFF);
      block.argumentArea[unit * 2 + 1] = static_cast<uint8_t>(c >> 8);
      ++unit;
    }
    ++unit;  // the zero after the argument
  }
  uint32_t count = static_cast<uint32_t>(arguments.size());
  std::memcpy(block.argumentCount, kCountMark, sizeof kCountMark);
  for (int i = 0; i < 4; ++i) block.argumentCount[4 + i] = static_cast<uint8_t>(count >> (8 * i));
  return true;
}

StringList decodeInstanceArguments(const SharedInstanceBlock& block) {
  uint32_t count = 0;
  for (int i = 0; i < 4; ++i) count |= static_cast<uint32_t>(block.argumentCount[4 + i]) << (8 * i);
  if (std::memcmp(block.argumentCount, kCountMark, sizeof kCountMark) != 0 || count == 0) return walkUntilDoubleZero(block);

  StringList arguments;
  String current;
  for (size_t unit = 0; unit < kAreaUnits && arguments.size() < count; ++unit) {
    char16_t c = unitAt(block.argumentArea, unit);
    if (c != 0) {
      current += c;
    } else {
      arguments.push_back(current);
      current.clear();
    }
  }
  // A count the area does not hold: read it as an older writer's block.
  return arguments.size() == count ? arguments : walkUntilDoubleZero(block);
}
