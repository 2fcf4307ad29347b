#include "vm/argument_file.h"

namespace {

bool isSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f'; }
bool isLineEnd(char16_t c) { return c == u'\n' || c == u'\r'; }

char16_t escaped(char16_t c) {
  switch (c) {
    case u'n': return u'\n';
    case u'r': return u'\r';
    case u't': return u'\t';
    case u'f': return u'\f';
    default: return c;
  }
}

}  // namespace

StringList argumentFileOptions(StringView text) {
  StringList options;
  String option;
  bool inOption = false;
  char16_t quote = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (quote) {
      if (c == quote || isLineEnd(c)) {
        quote = 0;
        if (isLineEnd(c)) --i;  // the line end also ends the option
      } else if (c == u'\\' && i + 1 < text.size() && isLineEnd(text[i + 1])) {
        while (i + 1 < text.size() && isSpace(text[i + 1])) ++i;
      } else if (c == u'\\' && i + 1 < text.size()) {
        option += escaped(text[++i]);
      } else {
        option += c;
      }
    } else if (isSpace(c)) {
      if (inOption) options.push_back(std::move(option));
      option.clear();
      inOption = false;
    } else if (c == u'#' && !inOption) {
      while (i + 1 < text.size() && !isLineEnd(text[i + 1])) ++i;
    } else {
      if (c == u'"' || c == u'\'') {
        quote = c;
      } else {
        option += c;
      }
      inOption = true;
    }
  }
  if (inOption) options.push_back(std::move(option));
  return options;
}
