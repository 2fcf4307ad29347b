#include "vm/vm_parameters.h"

#include "vm/argument_file.h"

namespace {

constexpr size_t kNone = String::npos;

size_t findFrom(StringView text, char16_t c, size_t start) {
  return start >= text.size() ? kNone : text.find(c, start);
}

bool startsWith(StringView text, StringView prefix) { return text.substr(0, prefix.size()) == prefix; }

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

}  // namespace

size_t nextParameterEnd(StringView text, size_t start) {
  size_t space = findFrom(text, u' ', start);
  size_t quote = findFrom(text, u'"', start);
  while (quote != kNone) {
    if (space == kNone) return text.size();
    if (space < quote) return space;
    size_t closing = findFrom(text, u'"', quote + 1);
    if (closing == kNone) return space;
    if (closing + 1 < text.size() && text[closing + 1] == u'"') ++closing;
    space = findFrom(text, u' ', closing + 1);
    quote = findFrom(text, u'"', closing + 1);
  }
  return space == kNone ? text.size() : space;
}

String removeQuotes(StringView text) {
  String out(text);
  size_t at = 0;
  for (;;) {
    size_t open = findFrom(out, u'"', at);
    if (open == kNone) break;
    size_t close = findFrom(out, u'"', open + 1);
    if (close == kNone) break;
    // A doubled closing quote: the first of the two stays as a literal.
    if (close + 1 < out.size() && out[close + 1] == u'"') ++close;
    out.erase(close, 1);
    out.erase(open, 1);
    at = close - 1;
  }
  return out;
}

NumberList parseNumberList(StringView text) {
  NumberList list;
  size_t start = 0;
  while (start < text.size() && !isDigit(text[start]) && text[start] != u':') ++start;
  list.prefixLength = start;
  if (start == text.size()) return list;
  list.numbers.push_back(0);
  for (size_t i = start; i + 1 < text.size(); ++i) {
    if (isDigit(text[i])) {
      list.numbers.back() = list.numbers.back() * 10u + static_cast<uint32_t>(text[i] - u'0');
    } else if (text[i] == u':') {
      list.numbers.push_back(0);
    }
  }
  return list;
}

String applyMemoryPercentage(StringView parameter, const MemoryQuery& memory) {
  NumberList list = parseNumberList(parameter);
  auto number = [&](size_t i) { return i < list.numbers.size() ? list.numbers[i] : 0u; };
  uint32_t percent = number(0), minimum = number(1), maximum = number(2);

  MemoryFigures figures = memory();
  char16_t kind = parameter.empty() ? u'P' : parameter.back();
  uint64_t base = (kind == u'P' || kind == u'p') ? figures.totalPhysical : figures.availableVirtual;
  double kilobytes = static_cast<double>(base >> 10) * (percent / 100.0);
  // Truncated into 32 bits, as a size in KB is passed on.
  uint32_t value = kilobytes >= 4294967295.0 ? 0xFFFFFFFFu : static_cast<uint32_t>(kilobytes);
  if (maximum != 0 && value > maximum * 1024u) value = maximum * 1024u;
  if (value < minimum * 1024u) value = minimum * 1024u;
  // "%s%dK": the value prints as a signed 32-bit number.
  return formatText(u"%s%dK", {String(parameter.substr(0, list.prefixLength)), static_cast<int32_t>(value)});
}

namespace {

// One option as it goes to the VM: memory shares rewritten, -Xss noted.
String rewriteVmOption(String option, const MemoryQuery& memory, uint32_t& stackSize) {
  bool memoryParameter = startsWith(option, u"-Xms") || startsWith(option, u"-Xmx") || startsWith(option, u"-Xss");
  if (memoryParameter && !option.empty()) {
    char16_t last = option.back();
    if (last == u'P' || last == u'p' || last == u'T' || last == u't') option = applyMemoryPercentage(option, memory);
  }
  if (startsWith(option, u"-Xss")) {
    StringView size = StringView(option).substr(4);
    NumberList list = parseNumberList(size);
    stackSize = 0;
    if (list.prefixLength == 0 && list.numbers.size() == 1) {
      uint32_t factor = 1;
      switch (size.back()) {
        case u'K': case u'k': factor = 1024u; break;
        case u'M': case u'm': factor = 1048576u; break;
        case u'G': case u'g': factor = 1073741824u; break;
        default: break;
      }
      stackSize = list.numbers[0] * factor;  // wraps, as sizes are 32-bit
    }
  }
  return option;
}

// The options the java launcher takes with their value as the next argument,
// as it passes them on to the VM.
constexpr struct {
  StringView spelling;
  StringView option;
} kSeparateValueOptions[] = {
    {u"-p", u"--module-path"},
    {u"--module-path", u"--module-path"},
    {u"--upgrade-module-path", u"--upgrade-module-path"},
    {u"--add-modules", u"--add-modules"},
    {u"--limit-modules", u"--limit-modules"},
    {u"--add-exports", u"--add-exports"},
    {u"--add-opens", u"--add-opens"},
    {u"--add-reads", u"--add-reads"},
    {u"--patch-module", u"--patch-module"},
    {u"--enable-native-access", u"--enable-native-access"},
};

}  // namespace

String processVmParameter(StringView parameter, const MemoryQuery& memory, uint32_t& stackSize) {
  return rewriteVmOption(removeQuotes(parameter), memory, stackSize);
}

StringList joinLauncherSpellings(const StringList& options) {
  StringList joined;
  for (size_t i = 0; i < options.size(); ++i) {
    joined.push_back(options[i]);
    if (i + 1 == options.size()) break;
    for (const auto& form : kSeparateValueOptions) {
      if (options[i] != form.spelling) continue;
      joined.back() = String(form.option) + u"=" + options[++i];
      break;
    }
  }
  return joined;
}

StringList vmParameterOptions(StringView value, const MemoryQuery& memory, uint32_t& stackSize,
                              const ArgumentFileReader& readFile, String* unreadable) {
  StringList options;
  auto add = [&](String option) {
    // The VM refuses an empty option, so blanks (a "+" section starts with
    // one) and a bare "" give none.
    if (!option.empty()) options.push_back(rewriteVmOption(std::move(option), memory, stackSize));
  };
  size_t start = 0;
  while (start < value.size()) {
    size_t end = nextParameterEnd(value, start);
    String option = removeQuotes(value.substr(start, end - start));
    start = end;
    while (start < value.size() && value[start] == u' ') ++start;
    if (!readFile || option.size() < 2 || option[0] != u'@') {
      add(std::move(option));
    } else if (option[1] == u'@') {
      add(option.substr(1));
    } else if (std::optional<String> text = readFile(option.substr(1))) {
      for (String& fileOption : argumentFileOptions(*text)) add(std::move(fileOption));
    } else if (unreadable && unreadable->empty()) {
      *unreadable = option.substr(1);
    }
  }
  return joinLauncherSpellings(options);
}
