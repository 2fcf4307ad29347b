#include "launcher/command_line.h"

namespace {

size_t skipBlanks(StringView text, size_t pos) {
  while (pos < text.size() && text[pos] == u' ') ++pos;
  return pos;
}

}  // namespace

void splitCommandLine(StringView text, StringList& tokens) {
  size_t pos = 0;
  while (pos < text.size()) {
    if (text[pos] == u'"') {
      size_t close = text.find(u'"', pos + 1);
      if (close == StringView::npos) {
        // An unterminated quote takes the rest, blanks included; a quote
        // that is the last character gives one empty token.
        tokens.emplace_back(text.substr(pos + 1));
        return;
      }
      tokens.emplace_back(text.substr(pos + 1, close - pos - 1));
      pos = skipBlanks(text, close + 1);
    } else {
      size_t blank = text.find(u' ', pos);
      if (blank == StringView::npos) {
        tokens.emplace_back(text.substr(pos));
        return;
      }
      tokens.emplace_back(text.substr(pos, blank - pos));
      pos = skipBlanks(text, blank);
    }
  }
}

int findArgument(const StringList& arguments, StringView wanted) {
  for (size_t i = 0; i < arguments.size(); ++i) {
    if (arguments[i] == wanted) return static_cast<int>(i);
  }
  return -1;
}
