#include "common/win32/ansi_text.h"

#include <windows.h>

std::string toThreadAnsi(StringView text) {
  if (text.empty()) return {};
  auto source = reinterpret_cast<const wchar_t*>(text.data());
  int length = static_cast<int>(text.size());
  int size = WideCharToMultiByte(CP_THREAD_ACP, 0, source, length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_THREAD_ACP, 0, source, length, out.data(), size, nullptr, nullptr);
  return out;
}

String fromThreadAnsi(const std::string& text) {
  if (text.empty()) return {};
  int length = static_cast<int>(text.size());
  int size = MultiByteToWideChar(CP_THREAD_ACP, 0, text.data(), length, nullptr, 0);
  if (size <= 0) return {};
  String out(static_cast<size_t>(size), u'\0');
  MultiByteToWideChar(CP_THREAD_ACP, 0, text.data(), length, reinterpret_cast<wchar_t*>(out.data()), size);
  return out;
}
