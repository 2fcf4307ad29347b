#pragma once
// Conversions between the runtime's UTF-16 strings and the byte forms around it.
#include <string>
#include <string_view>

namespace test_runtime {

// JNI's "modified UTF-8": U+0000 as C0 80 and every UTF-16 unit on its own.
std::u16string decodeModifiedUtf8(std::string_view bytes);
std::string encodeModifiedUtf8(std::u16string_view text);

// Standard UTF-8, surrogate pairs joined; a lone surrogate becomes U+FFFD.
std::string toUtf8(std::u16string_view text);
std::string toUtf8(std::wstring_view text);

// The code units as 4-digit lower-case hex, separated by spaces.
std::string hexUnits(std::u16string_view text);

std::wstring toWide(std::u16string_view text);
std::u16string fromAscii(std::string_view text);

}  // namespace test_runtime
