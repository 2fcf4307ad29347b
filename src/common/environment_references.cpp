#include "common/environment_references.h"

String expandReferences(StringView text, const VariableLookup& lookup) {
  String expanded;
  expanded.reserve(text.size());
  size_t at = 0;
  while (at < text.size()) {
    const size_t open = text.find(u'%', at);
    if (open == StringView::npos) break;
    expanded.append(text, at, open - at);
    const size_t close = text.find(u'%', open + 1);
    if (close == StringView::npos) {
      at = open;
      break;
    }
    const std::optional<String> value = lookup(String(text.substr(open + 1, close - open - 1)));
    if (value) {
      expanded += *value;
    } else {
      expanded.append(text, open, close - open + 1);
    }
    at = close + 1;
  }
  if (at < text.size()) expanded.append(text, at, StringView::npos);
  return expanded;
}
