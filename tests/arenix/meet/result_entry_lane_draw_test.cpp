// Lane draws: every draw is a permutation of its group, a fixed seed gives a
// fixed draw, and groups never mix.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "arenix/meet/lane_draw.h"
#include "automation/clock.h"

namespace arenix::meet {
namespace {

using automation::ScopedClock;

Text Sorted(Text t) {
  std::sort(t.begin(), t.end());
  return t;
}

TEST(LaneDraw, ShuffleIsAPermutationAndFollowsTheSeed) {
  std::set<Text> seen;
  for (uint32_t seed = 1; seed <= 300; ++seed) {
    ScopedClock clock(std::nullopt, seed * 7919);
    const Text drawn = LaneShuffle(u" 3456 ");
    EXPECT_EQ(Sorted(drawn), u"3456");
    seen.insert(drawn);
  }
  // A real shuffle reaches most of the 24 orders.
  EXPECT_GE(seen.size(), 16u);

  Text first, again;
  {
    ScopedClock clock(std::nullopt, 42);
    first = LaneShuffle(u"12345678");
  }
  {
    ScopedClock clock(std::nullopt, 42);
    again = LaneShuffle(u"12345678");
  }
  EXPECT_EQ(first, again);
  EXPECT_EQ(LaneShuffle(u" 5 "), u"5");
  EXPECT_EQ(LaneShuffle(u""), u"");
}

TEST(LaneDraw, GroupsDrawInsideThemselves) {
  for (uint32_t seed = 1; seed <= 50; ++seed) {
    ScopedClock clock(std::nullopt, seed);
    // Lane order 4 5 3 6 2 7 1 8, groups of 4: the best four get lanes 3-6.
    const Text drawn = LaneGroupDraw(u"45362718", 4);
    ASSERT_EQ(drawn.size(), 8u);
    EXPECT_EQ(Sorted(drawn.substr(0, 4)), u"3456");
    EXPECT_EQ(Sorted(drawn.substr(4)), u"1278");
    // A short last group.
    const Text three = LaneGroupDraw(u"4536271", 3);
    EXPECT_EQ(Sorted(three.substr(0, 3)), u"345");
    EXPECT_EQ(Sorted(three.substr(3, 3)), u"267");
    EXPECT_EQ(three.substr(6), u"1");

    const Text custom = LaneCustomDraw(u"34|56|1278");
    ASSERT_EQ(custom.size(), 8u);
    EXPECT_EQ(Sorted(custom.substr(0, 2)), u"34");
    EXPECT_EQ(Sorted(custom.substr(2, 2)), u"56");
    EXPECT_EQ(Sorted(custom.substr(4)), u"1278");
  }
  EXPECT_EQ(LaneGroupDraw(u"4536", 0), u"4536");
  EXPECT_EQ(LaneCustomDraw(u" 345678 "), u" 345678 ");  // no groups: as given
}

}  // namespace
}  // namespace arenix::meet
