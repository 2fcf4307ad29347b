#include "zip_archive.h"

#include <cstddef>

#include "little_endian.h"

namespace {

constexpr size_t kEndRecordSize = 22;
constexpr size_t kLongestComment = 0xFFFF;

}  // namespace

bool isZipArchive(const std::vector<uint8_t>& bytes) {
  if (bytes.size() < kEndRecordSize) return false;
  const size_t last = bytes.size() - kEndRecordSize;
  const size_t first = last > kLongestComment ? last - kLongestComment : 0;
  for (size_t at = last + 1; at-- > first;) {
    if (readLittleEndian(bytes, at, 4) != 0x06054b50) continue;
    // The record's comment must end exactly at the end of the file, and the
    // central directory must lie before the record.
    const uint32_t commentLength = readLittleEndian(bytes, at + 20, 2);
    const uint32_t directorySize = readLittleEndian(bytes, at + 12, 4);
    const uint32_t entries = readLittleEndian(bytes, at + 10, 2);
    if (at + kEndRecordSize + commentLength == bytes.size() && directorySize <= at && entries > 0) return true;
  }
  return false;
}
