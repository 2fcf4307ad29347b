#include "zip_archive.h"

#include <cstddef>

#include "little_endian.h"

namespace {

constexpr size_t kEndRecordSize = 22;
constexpr size_t kLongestComment = 0xFFFF;
constexpr size_t kDirectoryHeaderSize = 46;
constexpr uint32_t kEndSignature = 0x06054b50, kDirectorySignature = 0x02014b50, kLocalSignature = 0x04034b50;

bool signatureAt(const std::vector<uint8_t>& bytes, size_t at, uint32_t signature) {
  return at <= bytes.size() && bytes.size() - at >= 4 && readLittleEndian(bytes, at, 4) == signature;
}

// The jar whose end record lies at `at`, if every directory entry before the
// record is one and names a local header, and its comment lies inside.
FoundJar jarEndingAt(const std::vector<uint8_t>& bytes, size_t at) {
  const uint32_t entries = readLittleEndian(bytes, at + 10, 2);
  const uint32_t directorySize = readLittleEndian(bytes, at + 12, 4);
  const uint32_t directoryOffset = readLittleEndian(bytes, at + 16, 4);
  const size_t end = at + kEndRecordSize + readLittleEndian(bytes, at + 20, 2);
  if (entries == 0 || end > bytes.size() || directorySize > at || directoryOffset > at - directorySize) return {};
  const size_t directory = at - directorySize, start = directory - directoryOffset;
  if (!signatureAt(bytes, start, kLocalSignature)) return {};
  size_t entry = directory;
  for (uint32_t i = 0; i < entries; ++i) {
    if (at - entry < kDirectoryHeaderSize || !signatureAt(bytes, entry, kDirectorySignature)) return {};
    const uint32_t local = readLittleEndian(bytes, entry + 42, 4);
    if (local > bytes.size() - start || !signatureAt(bytes, start + local, kLocalSignature)) return {};
    entry += kDirectoryHeaderSize + readLittleEndian(bytes, entry + 28, 2) + readLittleEndian(bytes, entry + 30, 2) +
             readLittleEndian(bytes, entry + 32, 2);
    if (entry > at) return {};
  }
  return {true, bytes.size() - at <= kJavaEndSearchWindow, start, end, entries};
}

}  // namespace

FoundJar findJarAsJava(const std::vector<uint8_t>& bytes) {
  FoundJar none;
  if (bytes.size() < kEndRecordSize) return none;
  for (size_t at = bytes.size() - kEndRecordSize + 1; at-- > 0;) {
    if (readLittleEndian(bytes, at, 4) != kEndSignature) continue;
    if (FoundJar jar = jarEndingAt(bytes, at); jar.found) return jar;
    none.unreadableEnd |= bytes.size() - at <= kJavaEndSearchWindow;
  }
  return none;
}

bool isZipArchive(const std::vector<uint8_t>& bytes) {
  if (bytes.size() < kEndRecordSize) return false;
  const size_t last = bytes.size() - kEndRecordSize;
  const size_t first = last > kLongestComment ? last - kLongestComment : 0;
  for (size_t at = last + 1; at-- > first;) {
    if (readLittleEndian(bytes, at, 4) != kEndSignature) continue;
    // The record's comment must end exactly at the end of the file, and the
    // central directory must lie before the record.
    const uint32_t commentLength = readLittleEndian(bytes, at + 20, 2);
    const uint32_t directorySize = readLittleEndian(bytes, at + 12, 4);
    const uint32_t entries = readLittleEndian(bytes, at + 10, 2);
    if (at + kEndRecordSize + commentLength == bytes.size() && directorySize <= at && entries > 0) return true;
  }
  return false;
}
