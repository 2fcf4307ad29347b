#include "common/win32/ansi_text.h"

#include <windows.h>

namespace {

std::string convert(StringView text, DWORD flags, BOOL* usedDefault) {
  if (text.empty()) return {};
  auto source = reinterpret_cast<const wchar_t*>(text.data());
  int length = static_cast<int>(text.size());
  int size = WideCharToMultiByte(CP_ACP, flags, source, length, nullptr, 0, nullptr, usedDefault);
  if (size <= 0) return {};
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, flags, source, length, out.data(), size, nullptr, usedDefault);
  return out;
}

}  // namespace

std::string toAnsi(StringView text) { return convert(text, 0, nullptr); }

String fromAnsi(const std::string& text) {
  if (text.empty()) return {};
  int length = static_cast<int>(text.size());
  int size = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
  if (size <= 0) return {};
  String out(static_cast<size_t>(size), u'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), length, reinterpret_cast<wchar_t*>(out.data()), size);
  return out;
}

std::optional<std::string> toAnsiExactly(StringView text) {
  // UTF-8 takes no flags and has every character but a lone surrogate,
  // which the round trip below catches.
  if (GetACP() == CP_UTF8) {
    std::string bytes = toAnsi(text);
    if (fromAnsi(bytes) != text) return std::nullopt;
    return bytes;
  }
  BOOL usedDefault = FALSE;
  std::string bytes = convert(text, WC_NO_BEST_FIT_CHARS, &usedDefault);
  if (usedDefault || (bytes.empty() && !text.empty())) return std::nullopt;
  return bytes;
}
