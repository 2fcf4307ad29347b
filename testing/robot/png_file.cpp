#include "robot/png_file.h"

#include <algorithm>

namespace {

uint32_t crc32(const std::string& bytes, size_t from) {
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = from; i < bytes.size(); ++i) {
    crc ^= static_cast<uint8_t>(bytes[i]);
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

void putBigEndian(std::string& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xFF);
}

void putChunk(std::string& out, const char* type, const std::string& data) {
  putBigEndian(out, static_cast<uint32_t>(data.size()));
  size_t start = out.size();
  out += type;
  out += data;
  putBigEndian(out, crc32(out, start));
}

// The zlib stream of `raw` in stored blocks of at most 65535 bytes.
std::string storedZlib(const std::string& raw) {
  std::string out("\x78\x01", 2);
  size_t at = 0;
  do {
    size_t length = std::min<size_t>(raw.size() - at, 65535);
    bool last = at + length == raw.size();
    out += static_cast<char>(last ? 1 : 0);
    out += static_cast<char>(length & 0xFF);
    out += static_cast<char>(length >> 8);
    out += static_cast<char>(~length & 0xFF);
    out += static_cast<char>((~length >> 8) & 0xFF);
    out.append(raw, at, length);
    at += length;
  } while (at < raw.size());
  uint32_t a = 1, b = 0;
  for (char c : raw) {
    a = (a + static_cast<uint8_t>(c)) % 65521;
    b = (b + a) % 65521;
  }
  putBigEndian(out, (b << 16) | a);
  return out;
}

}  // namespace

std::string encodePng(uint32_t width, uint32_t height, const std::vector<uint8_t>& pixels, bool alpha) {
  const size_t rowBytes = static_cast<size_t>(width) * (alpha ? 4 : 3);
  std::string raw;
  raw.reserve((rowBytes + 1) * height);
  for (uint32_t y = 0; y < height; ++y) {
    raw += '\0';  // no filter
    raw.append(reinterpret_cast<const char*>(pixels.data()) + y * rowBytes, rowBytes);
  }
  std::string header;
  putBigEndian(header, width);
  putBigEndian(header, height);
  // 8 bits, RGB or RGBA, deflate, no filter set, no interlace
  header += std::string(alpha ? "\x08\x06\x00\x00\x00" : "\x08\x02\x00\x00\x00", 5);

  std::string png("\x89PNG\r\n\x1a\n", 8);
  putChunk(png, "IHDR", header);
  putChunk(png, "IDAT", storedZlib(raw));
  putChunk(png, "IEND", "");
  return png;
}
