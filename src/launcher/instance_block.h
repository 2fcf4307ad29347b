#pragma once
#include <cstdint>

// The block that a single-instance application's first instance shares with
// later launches, as laid out in the named file mapping (little-endian).
// Older launchers leave everything after the argument area zero.
struct SharedInstanceBlock {
  uint32_t listenerThreadId;
  uint32_t processId;
  uint32_t messageId;
  uint8_t argumentArea[1040];
  // "ARGC" and the argument count, so that empty arguments arrive too.
  uint8_t argumentCount[8];
  // The thread id of the launch whose request is in the argument area. The
  // first instance swaps it to 0 as it takes the request, a launch that
  // gives up waiting as it withdraws it: only one of them can.
  uint32_t requester;
  // kInstanceClosing once the first instance takes no more requests.
  uint32_t state;
  uint8_t reserved[1024];
};
static_assert(sizeof(SharedInstanceBlock) == 2092, "the block's size is shared with other launches");

constexpr uint32_t kInstanceClosing = 0x474E4C43;  // "CLNG"
