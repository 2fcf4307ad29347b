#include "launcher/command_line.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> split(const char16_t* text) {
  StringList tokens;
  splitCommandLine(text, tokens);
  std::vector<std::string> out;
  for (const String& t : tokens) out.push_back(toUtf8(t));
  return out;
}

using Tokens = std::vector<std::string>;

TEST(SplitCommandLine, FollowsTheLaunchersOwnRules) {
  const std::pair<const char16_t*, Tokens> cases[] = {
      {u"", {}},
      {u"Shop.exe", {"Shop.exe"}},
      {u"\"C:\\My Apps\\Shop.exe\" a.txt", {"C:\\My Apps\\Shop.exe", "a.txt"}},
      {u"a   b", {"a", "b"}},
      {u"\"two words\" third", {"two words", "third"}},
      {u"\"quoted\"plain", {"quoted", "plain"}},
      {u"un\"quoted", {"un\"quoted"}},
      {u"a \"", {"a", ""}},
      {u"a \"rest of  the line", {"a", "rest of  the line"}},
      {u"a \"\" b", {"a", "", "b"}},
      {u"a\tb c", {"a\tb", "c"}},
      {u"\"C:\\Program Files\\\" next", {"C:\\Program Files\\", "next"}},
      {u"\"a\\\" b\"", {"a\\", "b\""}},  // no escape character
      {u"x ", {"x"}},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(split(text), expected) << toUtf8(text);
  }
}

TEST(SplitCommandLine, AppendsToWhatTheListHolds) {
  StringList tokens{u"first"};
  splitCommandLine(u"second", tokens);
  EXPECT_EQ(tokens, (StringList{u"first", u"second"}));
}

TEST(FindArgument, MatchesWholeElementsWithCase) {
  StringList arguments{u"file.txt", u"-NOSPLASH", u"-nosplash", u"/nosplash"};
  EXPECT_EQ(findArgument(arguments, u"-nosplash"), 2);
  EXPECT_EQ(findArgument(arguments, u"/nosplash"), 3);
  EXPECT_EQ(findArgument(arguments, u"-nosplas"), -1);
  EXPECT_EQ(findArgument({}, u"-nosplash"), -1);
}

}  // namespace
