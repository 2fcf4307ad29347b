#include "common/split_string.h"

void splitString(StringView text, StringView separator, StringList& parts) {
  parts.clear();
  if (text.empty() || separator.empty()) {
    if (!text.empty()) parts.emplace_back(text);
    return;
  }
  size_t pos = 0;
  for (size_t found; (found = text.find(separator, pos)) != StringView::npos;) {
    parts.emplace_back(text.substr(pos, found - pos));
    pos = found + separator.size();
    if (pos >= text.size()) return;
  }
  parts.emplace_back(text.substr(pos));
}
