#pragma once
// Little-endian numbers inside file formats (icon files, zip archives).
#include <cstddef>
#include <cstdint>
#include <vector>

// The `size`-byte number at `at`; the caller has checked that it lies inside.
inline uint32_t readLittleEndian(const std::vector<uint8_t>& bytes, size_t at, int size) {
  uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = (value << 8) | bytes[at + static_cast<size_t>(i)];
  return value;
}

inline void putLittleEndian(std::vector<uint8_t>& out, uint32_t value, int size) {
  for (int i = 0; i < size; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}
