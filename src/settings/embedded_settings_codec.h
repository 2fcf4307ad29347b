#pragma once
// The stored form of embedded settings (resource RCDATA 8000 of the
// executable). This is obfuscation, not protection: it keeps the settings
// from being read or edited casually, and anyone with the upgrade code and
// this code can read them.
//
// Layout, little-endian:
//   0  4  magic "JLES"
//   4  2  format version (1)
//   6  2  reserved, 0
//   8  4  text length in UTF-16 code units
//  12  4  checksum: FNV-1a (32 bit) of the plain UTF-16LE text
//  16  .. the UTF-16LE text, each byte XOR-ed with a key stream
// The key stream is xorshift64* seeded with FNV-1a (64 bit) of the upgrade
// code's UTF-16LE bytes, one output byte per text byte (lowest byte first).
#include <cstdint>
#include <vector>

#include "common/text.h"

using Bytes = std::vector<uint8_t>;

Bytes encodeEmbeddedSettings(StringView text, StringView upgradeCode);

// The text, or the empty string when the data is not a complete resource of
// this format deciphered with the right upgrade code.
String decodeEmbeddedSettings(const uint8_t* data, size_t size, StringView upgradeCode);
