#include "common/text.h"

bool isWideSpace(char16_t c) {
  switch (c) {
    case 0x0009: case 0x000A: case 0x000B: case 0x000C: case 0x000D:
    case 0x0020: case 0x0085: case 0x00A0: case 0x1680:
    case 0x2028: case 0x2029: case 0x202F: case 0x205F: case 0x3000:
      return true;
    default:
      return c >= 0x2000 && c <= 0x200A;
  }
}

String trimWhiteSpace(StringView text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && isWideSpace(text[begin])) ++begin;
  while (end > begin && isWideSpace(text[end - 1])) --end;
  return String(text.substr(begin, end - begin));
}

static char16_t asciiLower(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool equalsIgnoreCase(StringView a, StringView b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (asciiLower(a[i]) != asciiLower(b[i])) return false;
  }
  return true;
}

static void appendNumber(String& out, int32_t value) {
  // Work in 64 bits so that the most negative value has a magnitude.
  int64_t v = value;
  if (v < 0) {
    out += u'-';
    v = -v;
  }
  char16_t digits[12];
  size_t n = 0;
  do {
    digits[n++] = static_cast<char16_t>(u'0' + v % 10);
    v /= 10;
  } while (v != 0);
  while (n > 0) out += digits[--n];
}

static void appendArg(String& out, const FormatArg& arg) {
  if (const String* s = std::get_if<String>(&arg)) {
    out += *s;
  } else {
    appendNumber(out, std::get<int32_t>(arg));
  }
}

String formatText(StringView pattern, const FormatArg* args, size_t count) {
  String out;
  out.reserve(pattern.size());
  const FormatArg* next = args;
  const FormatArg* const end = args + count;
  for (size_t i = 0; i < pattern.size(); ++i) {
    char16_t c = pattern[i];
    char16_t conv = i + 1 < pattern.size() ? pattern[i + 1] : u'\0';
    if (c != u'%' || (conv != u's' && conv != u'd' && conv != u'%')) {
      out += c;
      continue;
    }
    ++i;
    if (conv == u'%') {
      out += u'%';
    } else if (next != end) {
      appendArg(out, *next++);
    }
  }
  return out;
}

String fromUtf8(std::string_view text) {
  // Each malformed sequence (a stray or missing continuation byte, an overlong
  // form, a surrogate, beyond U+10FFFF) becomes one U+FFFD.
  constexpr uint32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
  String out;
  for (size_t i = 0; i < text.size();) {
    auto b = static_cast<unsigned char>(text[i]);
    uint32_t cp;
    size_t len;
    if (b < 0x80) { cp = b; len = 1; }
    else if ((b >> 5) == 0x6) { cp = b & 0x1F; len = 2; }
    else if ((b >> 4) == 0xE) { cp = b & 0x0F; len = 3; }
    else if ((b >> 3) == 0x1E) { cp = b & 0x07; len = 4; }
    else { out += u'\xFFFD'; ++i; continue; }
    size_t k = 1;
    for (; k < len && i + k < text.size() && (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80; ++k) {
      cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    }
    i += k;
    if (k < len || cp < kLeast[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000)) {
      out += u'\xFFFD';
    } else if (cp >= 0x10000) {
      cp -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (cp >> 10));
      out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      out += static_cast<char16_t>(cp);
    }
  }
  return out;
}

std::string toUtf8(StringView text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t cp = text[i];
    if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    }
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  return out;
}

void appendUtf16Le(std::vector<uint8_t>& bytes, StringView text) {
  bytes.reserve(bytes.size() + text.size() * 2);
  for (char16_t c : text) {
    bytes.push_back(static_cast<uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<uint8_t>(c >> 8));
  }
}
