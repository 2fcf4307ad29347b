#include "icon_file.h"

#include "little_endian.h"

namespace {

constexpr size_t kHeaderSize = 6;
constexpr size_t kFileEntrySize = 16;

}  // namespace

bool readIconFile(const ByteBuffer& file, IconResources& icons, std::string& error) {
  icons = {};
  if (file.size() < kHeaderSize || readLittleEndian(file, 0, 2) != 0 || readLittleEndian(file, 2, 2) != 1) {
    error = "not an icon file (no icon directory at its start)";
    return false;
  }
  const uint32_t count = readLittleEndian(file, 4, 2);
  if (count == 0) {
    error = "the icon file holds no images";
    return false;
  }
  if (file.size() < kHeaderSize + count * kFileEntrySize) {
    error = "the icon file is truncated (its directory lists " + std::to_string(count) + " images)";
    return false;
  }
  // The group directory: the same header, then 14-byte entries that name a
  // resource id where the file has an offset.
  putLittleEndian(icons.group, 0, 2);
  putLittleEndian(icons.group, 1, 2);
  putLittleEndian(icons.group, count, 2);
  for (uint32_t i = 0; i < count; ++i) {
    const size_t entry = kHeaderSize + i * kFileEntrySize;
    const uint32_t size = readLittleEndian(file, entry + 8, 4);
    const uint32_t offset = readLittleEndian(file, entry + 12, 4);
    if (size == 0 || offset > file.size() || size > file.size() - offset) {
      error = "image " + std::to_string(i + 1) + " of the icon file lies outside the file";
      icons = {};
      return false;
    }
    icons.images.emplace_back(file.begin() + offset, file.begin() + offset + size);
    icons.group.insert(icons.group.end(), file.begin() + static_cast<std::ptrdiff_t>(entry),
                       file.begin() + static_cast<std::ptrdiff_t>(entry + 12));
    putLittleEndian(icons.group, i + 1, 2);
  }
  return true;
}
