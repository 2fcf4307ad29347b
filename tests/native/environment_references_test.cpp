#include "common/environment_references.h"

#include <gtest/gtest.h>

#include <map>

namespace {

TEST(ExpandReferences, ReplacesDefinedNamesAndKeepsEverythingElse) {
  const std::map<String, String> variables{{u"HOME", u"C:\\Users\\ann"}, {u"EMPTY", u""}, {u"PCT", u"%HOME%"}};
  const VariableLookup lookup = [&](const String& name) -> std::optional<String> {
    auto found = variables.find(name);
    return found == variables.end() ? std::nullopt : std::optional<String>(found->second);
  };
  const struct {
    const char16_t* text;
    const char16_t* expected;
  } cases[] = {
      {u"", u""},
      {u"plain", u"plain"},
      {u"%HOME%\\app", u"C:\\Users\\ann\\app"},
      {u"a%EMPTY%b", u"ab"},
      {u"%NONE%", u"%NONE%"},
      {u"%NONE%HOME%", u"%NONE%HOME%"},  // the scan goes on after the undefined reference
      {u"%%HOME%%", u"%%HOME%%"},         // "%%" names nothing
      {u"%NONE%%HOME%", u"%NONE%C:\\Users\\ann"},
      {u"100%", u"100%"},
      {u"%HOME", u"%HOME"},
      {u"%PCT%", u"%HOME%"},  // a value is not expanded again
  };
  for (const auto& c : cases) EXPECT_EQ(toUtf8(expandReferences(c.text, lookup)), toUtf8(c.expected)) << toUtf8(c.text);
}

}  // namespace
