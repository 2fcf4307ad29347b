#include "ui/anchor_colour.h"

#include <gtest/gtest.h>

TEST(AnchorColour, ThreeDecimalNumbersSeparatedByCommas) {
  const struct {
    const char16_t* value;
    std::optional<RgbColour> expected;
  } cases[] = {
      {u"0,128,0", RgbColour{0, 128, 0}},
      {u"255,255,255", RgbColour{255, 255, 255}},
      {u"007,08,9", RgbColour{7, 8, 9}},
      {u"green", std::nullopt},
      {u"", std::nullopt},
      {u"0,128", std::nullopt},
      {u"0,128,0,1", std::nullopt},
      {u"0,256,0", std::nullopt},
      {u"0,1000,0", std::nullopt},
      {u"0, 128, 0", std::nullopt},
      {u"0,,0", std::nullopt},
      {u"-1,0,0", std::nullopt},
      {u"0,128,0 ", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(toUtf8(c.value));
    EXPECT_EQ(parseAnchorColour(c.value), c.expected);
  }
}
