#pragma once
// A minimal PNG writer for screenshots: 8-bit RGB, stored (uncompressed)
// deflate blocks, so it needs no compression library.
#include <cstdint>
#include <string>
#include <vector>

// `rgb` holds width * height * 3 bytes, rows top to bottom.
std::string encodePng(uint32_t width, uint32_t height, const std::vector<uint8_t>& rgb);
