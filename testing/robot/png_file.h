#pragma once
// A minimal PNG writer for screenshots and test images: 8-bit RGB or RGBA,
// stored (uncompressed) deflate blocks, so it needs no compression library.
#include <cstdint>
#include <string>
#include <vector>

// `pixels` holds width * height * 3 bytes (RGB) or * 4 (RGBA with `alpha`),
// rows top to bottom.
std::string encodePng(uint32_t width, uint32_t height, const std::vector<uint8_t>& pixels, bool alpha = false);
