#include "launcher/win32/error_report.h"

#include "common/win32/console_flavour.h"
#include "common/win32/string_table.h"
#include "common/win32/win_text.h"

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
  // The console flavour's user reads a terminal or a log: nothing waits for a click.
  if (isConsoleFlavour()) {
    writeErrorLine(body);
    return IDOK;
  }
  return MessageBoxW(owner, hasBody ? wide(body) : nullptr, hasTitle ? wide(title) : nullptr, MB_ICONERROR);
}

void report(const Failure& failure) {
  if (failure.inserts.empty() && failure.appendedTextId == 0) {
    showError(nullptr, failure.textId, 0u);
    return;
  }
  String pattern = resourceString(failure.textId);
  if (failure.appendedTextId) pattern += resourceString(failure.appendedTextId);
  const std::vector<FormatArg> args(failure.inserts.begin(), failure.inserts.end());
  showError(nullptr, formatText(pattern, args.data(), args.size()), 0u);
}
