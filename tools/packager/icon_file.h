#pragma once
// Reads a .ico file into what an executable's resources hold: one RT_ICON
// image per size and the RT_GROUP_ICON directory that lists them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using ByteBuffer = std::vector<uint8_t>;

struct IconResources {
  std::vector<ByteBuffer> images;  // RT_ICON data, ids 1, 2, ... in this order
  ByteBuffer group;                // RT_GROUP_ICON data naming those ids
};

// False with `error` set when the file is not a usable icon file.
bool readIconFile(const ByteBuffer& file, IconResources& icons, std::string& error);
