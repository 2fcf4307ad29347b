#include "launcher/error_report.h"

#include "common/string_table.h"
#include "common/win_text.h"
#include "resources/resource_ids.h"

bool TextRef::resolve(String& text, bool& present) const {
  present = isText_ || id_ != 0;
  if (isText_) {
    text = text_;
    return true;
  }
  if (id_ == 0) return true;
  return loadResourceString(id_, text);
}

int showError(HWND owner, const TextRef& text, const TextRef& caption) {
  String body, title;
  bool hasBody = false, hasTitle = false;
  if (!text.resolve(body, hasBody) || !caption.resolve(title, hasTitle)) return 0;
  return MessageBoxW(owner, hasBody ? wide(body) : nullptr, hasTitle ? wide(title) : nullptr, MB_ICONERROR);
}

int formatError(HWND owner, const String& pattern, std::initializer_list<FormatArg> args) {
  return showError(owner, formatText(pattern, args), 0u);
}

int showWindowsError(unsigned what, DWORD errorCode) {
  return formatError(nullptr, resourceString(IDS_WINDOWS_EXCEPTION),
                     {resourceString(what), static_cast<int32_t>(errorCode)});
}
