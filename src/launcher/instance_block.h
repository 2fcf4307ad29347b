#pragma once
#include <cstdint>

// The block that a single-instance application's first instance shares with
// later launches, as laid out in the named file mapping (little-endian).
struct SharedInstanceBlock {
  uint32_t listenerThreadId;
  uint32_t processId;
  uint32_t messageId;
  uint8_t argumentArea[1040];
  uint8_t reserved[1040];
};
static_assert(sizeof(SharedInstanceBlock) == 2092, "the block's size is shared with other launches");
