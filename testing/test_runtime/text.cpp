#include "text.h"

#include <cstdio>

namespace test_runtime {
namespace {

void appendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

bool isHigh(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLow(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

std::u16string decodeModifiedUtf8(std::string_view bytes) {
  std::u16string out;
  size_t i = 0;
  auto continuation = [&](size_t at) -> unsigned {
    return at < bytes.size() ? static_cast<unsigned char>(bytes[at]) & 0x3Fu : 0u;
  };
  while (i < bytes.size()) {
    const unsigned lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80) {
      out += static_cast<char16_t>(lead);
      i += 1;
    } else if ((lead & 0xE0) == 0xC0) {
      out += static_cast<char16_t>(((lead & 0x1F) << 6) | continuation(i + 1));
      i += 2;
    } else if ((lead & 0xF0) == 0xE0) {
      out += static_cast<char16_t>(((lead & 0x0F) << 12) | (continuation(i + 1) << 6) | continuation(i + 2));
      i += 3;
    } else if ((lead & 0xF8) == 0xF0) {
      // Not modified UTF-8, but accepted as standard UTF-8 and split into a pair.
      const char32_t code = ((lead & 0x07) << 18) | (continuation(i + 1) << 12) |
                            (continuation(i + 2) << 6) | continuation(i + 3);
      const char32_t offset = code - 0x10000;
      out += static_cast<char16_t>(0xD800 + ((offset >> 10) & 0x3FF));
      out += static_cast<char16_t>(0xDC00 + (offset & 0x3FF));
      i += 4;
    } else {
      out += u'\uFFFD';
      i += 1;
    }
  }
  return out;
}

std::string encodeModifiedUtf8(std::u16string_view text) {
  std::string out;
  for (char16_t unit : text) {
    if (unit == 0) {
      out += "\xC0\x80";
    } else {
      appendUtf8(out, unit);
    }
  }
  return out;
}

std::string toUtf8(std::u16string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (isHigh(unit) && i + 1 < text.size() && isLow(text[i + 1])) {
      appendUtf8(out, 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (char32_t{text[i + 1]} - 0xDC00));
      ++i;
    } else if (isHigh(unit) || isLow(unit)) {
      appendUtf8(out, 0xFFFD);
    } else {
      appendUtf8(out, unit);
    }
  }
  return out;
}

std::string toUtf8(std::wstring_view text) {
  return toUtf8(std::u16string(text.begin(), text.end()));
}

std::string hexUnits(std::u16string_view text) {
  std::string out;
  for (char16_t unit : text) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04x", static_cast<unsigned>(unit));
    if (!out.empty()) out += ' ';
    out += digits;
  }
  return out;
}

std::wstring toWide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

std::u16string fromAscii(std::string_view text) { return std::u16string(text.begin(), text.end()); }

}  // namespace test_runtime
