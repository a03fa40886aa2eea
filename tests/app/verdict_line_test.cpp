// The verdict line's colour for each level, as 0xRRGGBB.
#include <gtest/gtest.h>

#include "app/verdict_line.h"

namespace {

TEST(VerdictLine, EachLevelHasItsColourAndEveryOtherTheColourOfNone) {
  const struct {
    int level;
    unsigned colour;
  } cases[] = {{0, 0x008060}, {1, 0xB08400}, {2, 0xD66C00},
               {3, 0xBE1E2D}, {4, 0x008060}, {-1, 0x008060}};
  for (const auto& c : cases) EXPECT_EQ(c.colour, verdict_colour_rgb(c.level)) << c.level;
}

}  // namespace
