#include "data/dbf/number_text.h"

#include <gtest/gtest.h>

#include <cmath>

namespace data::dbf {
namespace {

TEST(DbfNumberText, FormatsRightAlignedWithRounding) {
  struct Case {
    double value;
    int width, decimals;
    const char* stored;  // nullptr: does not fit
  } cases[] = {
      {12.34, 8, 2, "   12.34"},
      {2.675, 6, 2, "  2.68"},    // rounds as it reads, not as its binary value
      {-2.5, 4, 0, "  -3"},       // half away from zero
      {0.5, 3, 0, "  1"},
      {-0.04, 5, 1, "  0.0"},     // no minus sign on zero
      {9.96, 4, 1, "10.0"},
      {9999.9, 6, 1, "9999.9"},
      {99999.9, 6, 1, nullptr},
      {-1000.0, 6, 1, nullptr},  // seven characters with the sign
      {123456789012345.0, 20, 0, "     123456789012345"},
      {1e-7, 6, 2, "  0.00"},
      {0.0, 1, 0, "0"},
      {10, 1, 0, nullptr},
      {1e300, 20, 0, nullptr},
  };
  for (const Case& c : cases) {
    auto got = FormatFieldNumber(c.value, c.width, c.decimals);
    if (c.stored)
      EXPECT_EQ(got, std::optional<std::string>(c.stored)) << c.value;
    else
      EXPECT_EQ(got, std::nullopt) << c.value;
  }
  EXPECT_EQ(FormatFieldNumber(-999.9, 6, 1), std::optional<std::string>("-999.9"));
  EXPECT_EQ(FormatFieldNumber(std::nan(""), 6, 1), std::nullopt);
}

TEST(DbfNumberText, ParsesStoredDigits) {
  struct Case {
    const char* stored;
    double value;
  } cases[] = {
      {"   12.34", 12.34}, {"  -1.50", -1.5}, {"        ", 0}, {"******", 0},
      {"  +7", 7},         {" 3,25", 3.25},   {"1e3", 1000},   {"", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseFieldNumber(c.stored), c.value) << c.stored;
}

}  // namespace
}  // namespace data::dbf
