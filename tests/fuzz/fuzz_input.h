#pragma once
// Turns a fuzzer's bytes into the launcher's inputs: UTF-16 text from byte
// pairs, and a few leading bytes taken as small numbers.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "common/text.h"

class FuzzInput {
 public:
  FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }

  // The rest of the input as UTF-16 code units, unpaired surrogates included.
  String text() {
    String out;
    for (; at_ + 1 < size_; at_ += 2) out += static_cast<char16_t>(data_[at_] | (data_[at_ + 1] << 8));
    at_ = size_;
    return out;
  }

  // `length` units taken from the front (fewer when the input runs out).
  String text(size_t length) {
    String out;
    for (; length && at_ + 1 < size_; at_ += 2, --length) out += static_cast<char16_t>(data_[at_] | (data_[at_ + 1] << 8));
    return out;
  }

  const uint8_t* rest() const { return data_ + at_; }
  size_t restSize() const { return size_ - at_; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

// A property that must hold for every input; breaks into the fuzzer when not.
inline void require(bool holds) {
  if (!holds) std::abort();
}
