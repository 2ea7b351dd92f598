#include <gtest/gtest.h>

#include "automation/runtime.h"
#include "test_util.h"

namespace automation {
namespace {

using testing_util::ErrorOf;

TEST(RuntimeNumber, IntRoundsDownFixTowardZero) {
  struct Case {
    double x, int_part, fix_part;
  };
  const Case cases[] = {{2.7, 2, 2}, {-2.7, -3, -2}, {-2.5, -3, -2}, {-0.5, -1, 0},
                        {5, 5, 5},   {-5, -5, -5},   {0, 0, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(Int(c.x), c.int_part) << c.x;
    EXPECT_EQ(Fix(c.x), c.fix_part) << c.x;
  }
}

TEST(RuntimeNumber, RoundSendsHalvesToEven) {
  struct Case {
    double x;
    int digits;
    double expected;
  };
  const Case cases[] = {
      {2.5, 0, 2},       {3.5, 0, 4},          {-2.5, 0, -2},      {-3.5, 0, -4},
      {2.4999, 0, 2},    {0.125, 2, 0.12},     {0.375, 2, 0.38},   {1.5, 2, 1.5},
      {1.23456, 3, 1.235}, {-1.23456, 3, -1.235}, {12345.678, 1, 12345.7}, {1e300, 2, 1e300},
      {3.0, 25, 3.0},
  };
  for (const Case& c : cases) EXPECT_EQ(Round(c.x, c.digits), c.expected) << c.x << " " << c.digits;
  EXPECT_EQ(ErrorOf([] { Round(1.5, -1); }), err::kInvalidCall);
}

TEST(RuntimeNumber, HexAndOctKeepTheWidthOfTheType) {
  struct Case {
    Variant v;
    const char16_t* hex;
    const char16_t* oct;
  };
  const Case cases[] = {
      {Variant(int32_t{255}), u"FF", u"377"},
      {Variant(int32_t{0}), u"0", u"0"},
      {Variant(), u"0", u"0"},
      {Variant(int16_t{-1}), u"FFFF", u"177777"},
      {Variant(int32_t{-1}), u"FFFFFFFF", u"37777777777"},
      {Variant(-1.0), u"FFFFFFFF", u"37777777777"},
      {Variant(true), u"FFFF", u"177777"},
      {Variant(uint8_t{16}), u"10", u"20"},
      {Variant(2.5), u"2", u"2"},  // rounded half to even first
      {Variant(3.5), u"4", u"4"},
      {Variant(u"26"), u"1A", u"32"},
      {Variant(int32_t{-2147483647 - 1}), u"80000000", u"20000000000"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Hex(c.v), Variant(c.hex)) << ToUtf8(c.hex);
    EXPECT_EQ(Oct(c.v), Variant(c.oct)) << ToUtf8(c.oct);
  }
  EXPECT_TRUE(Hex(Variant::Null()).IsNull());
  EXPECT_TRUE(Oct(Variant::Null()).IsNull());
  EXPECT_EQ(ErrorOf([] { Hex(Variant(u"abc")); }), err::kTypeMismatch);
  EXPECT_EQ(ErrorOf([] { Hex(Variant(4294967295.0)); }), err::kOverflow);
}

TEST(RuntimeNumber, AbsAndSgn) {
  EXPECT_EQ(Abs(-2.5), 2.5);
  EXPECT_EQ(Abs(3), 3);
  EXPECT_EQ(Sgn(-0.1), -1);
  EXPECT_EQ(Sgn(0), 0);
  EXPECT_EQ(Sgn(7), 1);
}

}  // namespace
}  // namespace automation
