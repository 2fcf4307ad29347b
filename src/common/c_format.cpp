#include "common/c_format.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <type_traits>

namespace {

constexpr int kWidthLimit = 1 << 16;

enum class Length { None, Char, Short, Long, LongLong, IntMax, Size, PtrDiff, LongDouble };

struct Spec {
  bool left = false, plus = false, space = false, alternate = false, zero = false;
  int width = 0;
  int precision = -1;
  Length length = Length::None;
};

void pad(std::string& out, size_t used, const Spec& spec) {
  if (spec.width > 0 && used < static_cast<size_t>(spec.width)) out.append(static_cast<size_t>(spec.width) - used, ' ');
}

void appendField(std::string& out, const std::string& field, const Spec& spec) {
  if (!spec.left) pad(out, field.size(), spec);
  out += field;
  if (spec.left) pad(out, field.size(), spec);
}

void appendInteger(std::string& out, uintmax_t magnitude, bool negative, char conversion, const Spec& spec) {
  const unsigned base = conversion == 'o' ? 8 : (conversion == 'x' || conversion == 'X' || conversion == 'p') ? 16 : 10;
  const char* digitsOf = conversion == 'X' ? "0123456789ABCDEF" : "0123456789abcdef";
  std::string digits;
  for (uintmax_t rest = magnitude; rest; rest /= base) digits.insert(digits.begin(), digitsOf[rest % base]);
  const size_t minimum = spec.precision < 0 ? 1 : static_cast<size_t>(std::min(spec.precision, kWidthLimit));
  if (digits.size() < minimum) digits.insert(0, minimum - digits.size(), '0');
  std::string prefix;
  if (conversion == 'd' || conversion == 'i') prefix = negative ? "-" : spec.plus ? "+" : spec.space ? " " : "";
  if (conversion == 'p') prefix = "0x";
  if (spec.alternate && magnitude && (conversion == 'x' || conversion == 'X')) prefix = conversion == 'x' ? "0x" : "0X";
  if (spec.alternate && conversion == 'o' && (digits.empty() || digits.front() != '0')) digits.insert(0, 1, '0');
  if (spec.zero && !spec.left && spec.precision < 0 && spec.width > 0) {
    const size_t used = prefix.size() + digits.size();
    if (used < static_cast<size_t>(spec.width)) digits.insert(0, static_cast<size_t>(spec.width) - used, '0');
  }
  appendField(out, prefix + digits, spec);
}

uintmax_t unsignedArgument(va_list& args, Length length) {
  switch (length) {
    case Length::Char: return static_cast<unsigned char>(va_arg(args, unsigned));
    case Length::Short: return static_cast<unsigned short>(va_arg(args, unsigned));
    case Length::Long: return va_arg(args, unsigned long);
    case Length::LongLong: return va_arg(args, unsigned long long);
    case Length::IntMax: return va_arg(args, uintmax_t);
    case Length::Size: return va_arg(args, size_t);
    case Length::PtrDiff: return va_arg(args, std::make_unsigned_t<ptrdiff_t>);  // zero-extended
    default: return va_arg(args, unsigned);
  }
}

intmax_t signedArgument(va_list& args, Length length) {
  switch (length) {
    case Length::Char: return static_cast<signed char>(va_arg(args, int));
    case Length::Short: return static_cast<short>(va_arg(args, int));
    case Length::Long: return va_arg(args, long);
    case Length::LongLong: return va_arg(args, long long);
    case Length::IntMax: return va_arg(args, intmax_t);
    case Length::Size: return va_arg(args, std::make_signed_t<size_t>);  // sign-extended
    case Length::PtrDiff: return va_arg(args, ptrdiff_t);
    default: return va_arg(args, int);
  }
}

#ifdef _WIN32
// Windows' own C runtime writes three exponent digits where C, and the VM's
// own runtime, write two: "1e+020" becomes "1e+20", padded back to the width.
void trimExponent(std::string& number, char conversion, const Spec& spec) {
  if (conversion != 'e' && conversion != 'E' && conversion != 'g' && conversion != 'G') return;
  const size_t at = number.find_first_of("eE");
  const auto digit = [&](size_t i) { return i < number.size() && number[i] >= '0' && number[i] <= '9'; };
  if (at == std::string::npos || at + 4 >= number.size() || number[at + 2] != '0') return;
  if (!digit(at + 3) || !digit(at + 4) || digit(at + 5)) return;
  const bool padded = number.size() == static_cast<size_t>(spec.width);
  number.erase(at + 2, 1);
  if (!padded) return;
  if (spec.left) number += ' ';
  else if (spec.zero) number.insert(number[0] == '-' || number[0] == '+' || number[0] == ' ' ? 1 : 0, 1, '0');
  else number.insert(0, 1, ' ');
}
#endif

// The C runtime formats the number, from a format rebuilt without the length.
void appendFloating(std::string& out, va_list& args, char conversion, const Spec& spec) {
#ifdef _WIN32
  const double value = va_arg(args, double);
#else
  const long double value = spec.length == Length::LongDouble ? va_arg(args, long double) : va_arg(args, double);
#endif
  std::string format = "%";
  if (spec.left) format += '-';
  if (spec.plus) format += '+';
  if (spec.space) format += ' ';
  if (spec.alternate) format += '#';
  if (spec.zero) format += '0';
  format += "*.*";
#ifndef _WIN32
  format += 'L';
#endif
  format += conversion;
  const int precision = spec.precision < 0 ? 6 : spec.precision;
  char buffer[512];
#ifdef _WIN32
  // Windows' own C runtime, which knows no %F.
  if (conversion == 'F') format.back() = 'f';
  const int written = _snprintf(buffer, sizeof buffer - 1, format.c_str(), spec.width, precision, value);
  buffer[sizeof buffer - 1] = '\0';
  std::string number = written < 0 ? buffer : std::string(buffer, static_cast<size_t>(written));
  trimExponent(number, conversion, spec);
  out += number;
#else
  const int written = std::snprintf(buffer, sizeof buffer, format.c_str(), spec.width, precision, value);
  if (written > 0) out.append(buffer, std::min(static_cast<size_t>(written), sizeof buffer - 1));
#endif
}

void appendText(std::string& out, const char* text, const Spec& spec) {
  if (!text) text = "(null)";
  size_t size = 0;
  // A precision bounds what is read: the text need not end within it.
  while ((spec.precision < 0 || size < static_cast<size_t>(spec.precision)) && text[size]) ++size;
  appendField(out, std::string(text, size), spec);
}

// Wide text the VM never sends in practice; kept to ASCII.
void appendWideText(std::string& out, const wchar_t* text, const Spec& spec) {
  if (!text) return appendText(out, nullptr, spec);
  std::string narrow;
  for (size_t i = 0; (spec.precision < 0 || i < static_cast<size_t>(spec.precision)) && text[i]; ++i)
    narrow += text[i] < 0x80 ? static_cast<char>(text[i]) : '?';
  appendField(out, narrow, spec);
}

// A wint_t narrower than int arrives promoted.
wchar_t wideCharArgument(va_list& args) {
  if constexpr (sizeof(wint_t) < sizeof(int)) return static_cast<wchar_t>(va_arg(args, int));
  else return static_cast<wchar_t>(va_arg(args, wint_t));
}

int readNumber(const char*& at) {
  int value = 0;
  while (*at >= '0' && *at <= '9') {
    if (value < kWidthLimit) value = value * 10 + (*at - '0');
    ++at;
  }
  return value;
}

}  // namespace

std::string vformatC(const char* format, va_list given) {
  va_list args;
  va_copy(args, given);
  std::string out;
  for (const char* at = format; *at;) {
    if (*at != '%') {
      out += *at++;
      continue;
    }
    const char* start = at++;
    Spec spec;
    for (;; ++at) {
      if (*at == '-') spec.left = true;
      else if (*at == '+') spec.plus = true;
      else if (*at == ' ') spec.space = true;
      else if (*at == '#') spec.alternate = true;
      else if (*at == '0') spec.zero = true;
      else break;
    }
    if (*at == '*') {
      ++at;
      spec.width = va_arg(args, int);
      if (spec.width < 0) {
        spec.left = true;
        spec.width = spec.width == INT_MIN ? 0 : -spec.width;
      }
    } else {
      spec.width = readNumber(at);
    }
    // No message is that wide: a runaway width pads no more than this.
    spec.width = std::min(spec.width, kWidthLimit);
    if (*at == '.') {
      ++at;
      if (*at == '*') {
        ++at;
        spec.precision = va_arg(args, int);
        if (spec.precision < 0) spec.precision = -1;
      } else {
        spec.precision = readNumber(at);
      }
    }
    if (at[0] == 'h' && at[1] == 'h') spec.length = Length::Char, at += 2;
    else if (at[0] == 'h') spec.length = Length::Short, ++at;
    else if (at[0] == 'l' && at[1] == 'l') spec.length = Length::LongLong, at += 2;
    else if (at[0] == 'l') spec.length = Length::Long, ++at;
    else if (at[0] == 'j') spec.length = Length::IntMax, ++at;
    else if (at[0] == 'z') spec.length = Length::Size, ++at;
    else if (at[0] == 't') spec.length = Length::PtrDiff, ++at;
    else if (at[0] == 'L') spec.length = Length::LongDouble, ++at;
    else if (at[0] == 'I' && at[1] == '6' && at[2] == '4') spec.length = Length::LongLong, at += 3;
    else if (at[0] == 'I' && at[1] == '3' && at[2] == '2') spec.length = Length::None, at += 3;
    else if (at[0] == 'I') spec.length = Length::Size, ++at;

    const char conversion = *at;
    if (!conversion) {
      out.append(start);
      break;
    }
    ++at;
    switch (conversion) {
      case '%': out += '%'; break;
      case 'd':
      case 'i': {
        const intmax_t value = signedArgument(args, spec.length);
        const uintmax_t magnitude = value < 0 ? 0 - static_cast<uintmax_t>(value) : static_cast<uintmax_t>(value);
        appendInteger(out, magnitude, value < 0, conversion, spec);
        break;
      }
      case 'u':
      case 'o':
      case 'x':
      case 'X': appendInteger(out, unsignedArgument(args, spec.length), false, conversion, spec); break;
      case 'p': appendInteger(out, reinterpret_cast<uintptr_t>(va_arg(args, void*)), false, 'p', spec); break;
      case 'c':
        if (spec.length == Length::Long) appendWideText(out, std::wstring(1, wideCharArgument(args)).c_str(), spec);
        else appendField(out, std::string(1, static_cast<char>(va_arg(args, int))), spec);
        break;
      case 's':
        if (spec.length == Length::Long) appendWideText(out, va_arg(args, const wchar_t*), spec);
        else appendText(out, va_arg(args, const char*), spec);
        break;
      case 'S': appendWideText(out, va_arg(args, const wchar_t*), spec); break;
      case 'e':
      case 'E':
      case 'f':
      case 'F':
      case 'g':
      case 'G':
      case 'a':
      case 'A': appendFloating(out, args, conversion, spec); break;
      case 'n': va_arg(args, void*); break;  // never written through
      default: out.append(start, at); break;  // not a conversion: kept as written
    }
  }
  va_end(args);
  return out;
}

std::string formatC(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = vformatC(format, args);
  va_end(args);
  return text;
}
