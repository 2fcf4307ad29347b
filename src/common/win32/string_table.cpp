#include "common/win32/string_table.h"

#include <memory>
#include <new>

#include "common/win32/win_text.h"
#include "resources/resource_ids.h"

bool loadResourceString(unsigned id, String& text) {
  text.clear();
  HINSTANCE module = GetModuleHandleW(nullptr);
  for (size_t capacity = 256;; capacity *= 2) {
    std::unique_ptr<wchar_t[]> buffer(new (std::nothrow) wchar_t[capacity]);
    if (!buffer) return false;
    int length = LoadStringW(module, id, buffer.get(), static_cast<int>(capacity));
    // A text that filled the buffer may have been cut: try again with more.
    if (length >= 0 && static_cast<size_t>(length) < capacity - 1) {
      text = fromWide(buffer.get(), static_cast<size_t>(length));
      return true;
    }
  }
}

String resourceString(unsigned id) {
  String text;
  loadResourceString(id, text);
  return text;
}

Failure windowsFailure(unsigned what, uint32_t errorCode) {
  return {IDS_WINDOWS_EXCEPTION, 0, {resourceString(what), decimalInsert(static_cast<int32_t>(errorCode))}};
}
