#include "settings/embedded_settings_codec.h"

namespace {

constexpr uint8_t kMagic[4] = {'J', 'L', 'E', 'S'};
constexpr uint16_t kFormatVersion = 1;
constexpr size_t kHeaderSize = 16;

uint32_t fnv1a32(const uint8_t* data, size_t size) {
  uint32_t hash = 2166136261u;
  for (size_t i = 0; i < size; ++i) hash = (hash ^ data[i]) * 16777619u;
  return hash;
}

Bytes utf16le(StringView text) {
  Bytes bytes;
  appendUtf16Le(bytes, text);
  return bytes;
}

class KeyStream {
 public:
  explicit KeyStream(StringView upgradeCode) {
    uint64_t hash = 14695981039346656037ull;
    for (uint8_t b : utf16le(upgradeCode)) hash = (hash ^ b) * 1099511628211ull;
    state_ = hash ? hash : 1;  // xorshift must not start from zero
  }

  void apply(uint8_t* data, size_t size) {
    for (size_t i = 0; i < size; ++i) {
      if (used_ == 8) refill();
      data[i] ^= static_cast<uint8_t>(block_ >> (8 * used_++));
    }
  }

 private:
  void refill() {
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    block_ = state_ * 2685821657736338717ull;
    used_ = 0;
  }

  uint64_t state_;
  uint64_t block_ = 0;
  unsigned used_ = 8;
};

void put32(Bytes& out, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

uint32_t get32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

}  // namespace

Bytes encodeEmbeddedSettings(StringView text, StringView upgradeCode) {
  Bytes plain = utf16le(text);
  Bytes out(kHeaderSize, 0);
  for (int i = 0; i < 4; ++i) out[i] = kMagic[i];
  out[4] = kFormatVersion & 0xFF;
  out[5] = kFormatVersion >> 8;
  put32(out, 8, static_cast<uint32_t>(text.size()));
  put32(out, 12, fnv1a32(plain.data(), plain.size()));
  KeyStream(upgradeCode).apply(plain.data(), plain.size());
  out.insert(out.end(), plain.begin(), plain.end());
  return out;
}

String decodeEmbeddedSettings(const uint8_t* data, size_t size, StringView upgradeCode) {
  if (!data || size < kHeaderSize) return String();
  for (int i = 0; i < 4; ++i) {
    if (data[i] != kMagic[i]) return String();
  }
  if ((data[4] | data[5] << 8) != kFormatVersion) return String();
  uint64_t length = get32(data + 8);
  // Resource data may carry alignment padding after the text.
  if (length * 2 > size - kHeaderSize) return String();

  Bytes plain(data + kHeaderSize, data + kHeaderSize + length * 2);
  KeyStream(upgradeCode).apply(plain.data(), plain.size());
  if (fnv1a32(plain.data(), plain.size()) != get32(data + 12)) return String();

  String text(static_cast<size_t>(length), u'\0');
  for (size_t i = 0; i < text.size(); ++i) {
    text[i] = static_cast<char16_t>(plain[2 * i] | plain[2 * i + 1] << 8);
  }
  return text;
}
