#include "launcher/instance_arguments.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

namespace {

TEST(InstanceArguments, RoundTripAndWhatOlderReadersSee) {
  const struct {
    StringList arguments;
    StringList delivered;
    StringList olderReaderSees;  // the same block without the count
  } cases[] = {
      {{u"a", u"b c"}, {u"a", u"b c"}, {u"a", u"b c"}},
      {{}, {u""}, {u""}},
      {{u"first", u"", u"third"}, {u"first", u"", u"third"}, {u"first"}},
      {{u"", u"x"}, {u"", u"x"}, {u"", u"x"}},  // only a later empty argument ends the list
      {{u"\u65e5\u672c", u"\U0001F600"}, {u"\u65e5\u672c", u"\U0001F600"}, {u"\u65e5\u672c", u"\U0001F600"}},
      {{String(517, u'x')}, {String(517, u'x')}, {String(517, u'x')}},
  };
  for (const auto& c : cases) {
    SharedInstanceBlock block{};
    ASSERT_TRUE(encodeInstanceArguments(c.arguments, block));
    EXPECT_EQ(decodeInstanceArguments(block), c.delivered);
    std::memset(block.argumentCount, 0, sizeof block.argumentCount);
    EXPECT_EQ(decodeInstanceArguments(block), c.olderReaderSees);
  }
}

TEST(InstanceArguments, RequestsOver1040BytesAreRefusedAndLeaveTheBlock) {
  SharedInstanceBlock block{};
  ASSERT_TRUE(encodeInstanceArguments({u"kept"}, block));
  EXPECT_TRUE(encodeInstanceArguments({String(518, u'x')}, block));  // 1036 + 2 + 2 bytes: exactly full
  EXPECT_FALSE(encodeInstanceArguments({String(519, u'x')}, block));
  ASSERT_TRUE(encodeInstanceArguments({u"kept"}, block));
  EXPECT_FALSE(encodeInstanceArguments({String(300, u'x'), String(300, u'y')}, block));
  EXPECT_EQ(decodeInstanceArguments(block), StringList{u"kept"});
}

TEST(InstanceArguments, ABlockWithoutDoubleZeroKeepsTheCompletedArguments) {
  SharedInstanceBlock block{};
  for (size_t i = 0; i + 1 < sizeof block.argumentArea; i += 2) block.argumentArea[i] = 'a';
  block.argumentArea[20] = 0;  // ends the first argument after 10 units
  auto* bytes = reinterpret_cast<uint8_t*>(&block);  // the spare area up to the block's end
  for (size_t i = offsetof(SharedInstanceBlock, argumentCount); i + 1 < sizeof block; i += 2) bytes[i] = 'b';
  StringList read = decodeInstanceArguments(block);
  ASSERT_EQ(read.size(), 1u);
  EXPECT_EQ(read[0], String(10, u'a'));
}

}  // namespace
