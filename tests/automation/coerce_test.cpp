#include <gtest/gtest.h>

#include <limits>

#include "automation/coerce.h"
#include "test_util.h"

namespace automation {
namespace {

using testing_util::D;
using testing_util::ErrorOf;

TEST(Coerce, CStrOfDoubleKeepsFifteenDigitsAndTheExponentForm) {
  struct Case {
    double d;
    const char16_t* expected;
  };
  const Case cases[] = {
      {0, u"0"},
      {-0.0, u"0"},
      {1.5, u"1.5"},
      {-1.5, u"-1.5"},
      {0.1 + 0.2, u"0.3"},
      {1.0 / 3, u"0.333333333333333"},
      {2.0 / 3, u"0.666666666666667"},
      {100, u"100"},
      {9.0, u"9"},
      {-7, u"-7"},
      {-999999999999999, u"-999999999999999"},
      {-1e15, u"-1E+15"},
      {123456789012345, u"123456789012345"},
      {999999999999999, u"999999999999999"},
      {1e15, u"1E+15"},
      {1234567890123456, u"1.23456789012346E+15"},
      {999999999999999.9, u"1E+15"},
      {0.0001, u"0.0001"},
      {0.00001, u"1E-05"},
      {-1.5e-7, u"-1.5E-07"},
      {2.5e100, u"2.5E+100"},
      {1.7976931348623157e308, u"1.79769313486232E+308"},
  };
  for (const Case& c : cases) EXPECT_EQ(CStr(Variant(c.d)), c.expected) << c.d;
}

TEST(Coerce, CStrOfSingleCurrencyAndTheOtherTypes) {
  EXPECT_EQ(CStr(Variant(0.1f)), u"0.1");
  EXPECT_EQ(CStr(Variant(1.0f / 3)), u"0.3333333");
  EXPECT_EQ(CStr(Variant(12345678.0f)), u"1.234568E+07");
  EXPECT_EQ(CStr(Variant(1e-5f)), u"1E-05");
  EXPECT_EQ(CStr(Variant(Currency{15000})), u"1.5");
  EXPECT_EQ(CStr(Variant(Currency{-15000})), u"-1.5");
  EXPECT_EQ(CStr(Variant(Currency{1})), u"0.0001");
  EXPECT_EQ(CStr(Variant(Currency{123450000})), u"12345");
  EXPECT_EQ(CStr(Variant(Currency{std::numeric_limits<int64_t>::max()})),
            u"922337203685477.5807");
  EXPECT_EQ(CStr(Variant(Currency{std::numeric_limits<int64_t>::min()})),
            u"-922337203685477.5808");
  EXPECT_EQ(CStr(Variant(true)), u"True");
  EXPECT_EQ(CStr(Variant(false)), u"False");
  EXPECT_EQ(CStr(Variant()), u"");
  EXPECT_EQ(CStr(Variant(uint8_t{255})), u"255");
  EXPECT_EQ(CStr(Variant(int16_t{-32768})), u"-32768");
  EXPECT_EQ(CStr(Variant(int32_t{0})), u"0");
  EXPECT_EQ(CStr(Variant(std::numeric_limits<int32_t>::min())), u"-2147483648");
  EXPECT_EQ(LongToText(std::numeric_limits<int64_t>::min()), u"-9223372036854775808");
  EXPECT_EQ(LongToText(std::numeric_limits<int64_t>::max()), u"9223372036854775807");
  EXPECT_EQ(CStr(Variant(D(2024, 3, 5, 8, 30, 5))), u"2024/3/5 8:30:05");
  EXPECT_EQ(ErrorOf([] { CStr(Variant::Null()); }), err::kInvalidNull);
  EXPECT_EQ(ErrorOf([] { CStr(Variant(Array{})); }), err::kTypeMismatch);
}

TEST(Coerce, IntegerTargetsRoundHalvesToEvenAndOverflow) {
  struct Case {
    Variant v;
    int64_t expected;  // or the error number when `error` is set
    bool error = false;
  };
  const Case cint[] = {
      {Variant(2.5), 2},          {Variant(3.5), 4},        {Variant(-2.5), -2},
      {Variant(-3.5), -4},        {Variant(2.4999), 2},     {Variant(32767.4), 32767},
      {Variant(32767.5), 6, true}, {Variant(-32768.5), -32768}, {Variant(-32769.0), 6, true},
      {Variant(u"12.5"), 12},     {Variant(u" 1,234 "), 1234}, {Variant(u"&HFFFF"), -1},
      {Variant(u"abc"), 13, true}, {Variant(u""), 13, true}, {Variant::Null(), 94, true},
      {Variant(), 0},             {Variant(true), -1},      {Variant(Date{1234.5}), 1234},
      {Variant(Currency{25000}), 2}, {Variant(int32_t{40000}), 6, true},
  };
  for (const Case& c : cint) {
    if (c.error) EXPECT_EQ(ErrorOf([&] { CInt(c.v); }), c.expected) << ToUtf8(c.v.TypeName()) << " " << c.expected;
    else EXPECT_EQ(CInt(c.v), c.expected) << c.expected;
  }
  EXPECT_EQ(CLng(Variant(2147483646.5)), 2147483646);
  EXPECT_EQ(CLng(Variant(-2147483648.4)), -2147483647 - 1);
  EXPECT_EQ(ErrorOf([] { CLng(Variant(2147483647.5)); }), err::kOverflow);
  EXPECT_EQ(CLng(Variant(u"&H10000")), 65536);
  EXPECT_EQ(CLng(Variant(u"1e3")), 1000);
  EXPECT_EQ(ErrorOf([] { CLng(Variant(u"1e400")); }), err::kOverflow);
  EXPECT_EQ(CByte(Variant(254.5)), 254);
  EXPECT_EQ(CByte(Variant(-0.5)), 0);
  EXPECT_EQ(CByte(Variant(false)), 0);
  EXPECT_EQ(ErrorOf([] { CByte(Variant(255.5)); }), err::kOverflow);
  EXPECT_EQ(ErrorOf([] { CByte(Variant(-0.6)); }), err::kOverflow);
  EXPECT_EQ(ErrorOf([] { CByte(Variant(true)); }), err::kOverflow);
  EXPECT_EQ(ErrorOf([] { CByte(Variant(int16_t{-1})); }), err::kOverflow);
}

TEST(Coerce, CDblReadsTheLocaleNumberForms) {
  struct Case {
    const char16_t* text;
    double expected;
  };
  const Case ok[] = {{u"1,234.5", 1234.5}, {u"  -1.5e3 ", -1500}, {u"1d2", 100},
                     {u"&O17", 15},        {u"+5", 5},            {u".5", 0.5},
                     {u"5.", 5},           {u"&hFFFFFFFF", -1},   {u"\u30001\u3000", 1}};
  for (const Case& c : ok) EXPECT_EQ(CDbl(Variant(c.text)), c.expected) << ToUtf8(c.text);
  const char16_t* mismatch[] = {u"1e", u".", u"1.2.3", u"12abc", u"", u"-", u",5",
                                u"１２", u"&H", u"&HG", u"&X1", u"1 2"};
  for (const char16_t* t : mismatch)
    EXPECT_EQ(ErrorOf([&] { CDbl(Variant(t)); }), err::kTypeMismatch) << ToUtf8(t);
  EXPECT_EQ(ErrorOf([] { CDbl(Variant(u"1e400")); }), err::kOverflow);
  EXPECT_EQ(ErrorOf([] { CDbl(Variant(u"&H100000000")); }), err::kOverflow);
  EXPECT_EQ(ErrorOf([] { CDbl(Variant::Null()); }), err::kInvalidNull);
  EXPECT_EQ(ErrorOf([] { CSng(Variant(1e39)); }), err::kOverflow);
}

TEST(Coerce, CCurReadsDecimalTextExactly) {
  struct Case {
    const char16_t* text;
    int64_t scaled;
  };
  const Case cases[] = {
      {u"0.1", 1000},        {u"1.00005", 10000},  {u"1.00015", 10002},
      {u"1.000051", 10001},  {u"-2.5", -25000},    {u" 1,234.5 ", 12345000},
      {u"1e3", 10000000},    {u"&H10", 160000},
      {u"922337203685477.5807", std::numeric_limits<int64_t>::max()},
      {u"-922337203685477.5808", std::numeric_limits<int64_t>::min()},
  };
  for (const Case& c : cases) EXPECT_EQ(CCur(Variant(c.text)).scaled, c.scaled) << ToUtf8(c.text);
  EXPECT_EQ(CCur(Variant(0.1)).scaled, 1000);
  EXPECT_EQ(CCur(Variant(2.00005)).scaled, 20000);
  EXPECT_EQ(ErrorOf([] { CCur(Variant(u"922337203685477.5808")); }), err::kOverflow);
  EXPECT_EQ(ErrorOf([] { CCur(Variant(1e20)); }), err::kOverflow);
  EXPECT_EQ(ErrorOf([] { CCur(Variant(u"abc")); }), err::kTypeMismatch);
}

TEST(Coerce, CBoolAndCDate) {
  EXPECT_TRUE(CBool(Variant(u"True")));
  EXPECT_FALSE(CBool(Variant(u" false ")));
  EXPECT_TRUE(CBool(Variant(u"#TRUE#")));
  EXPECT_FALSE(CBool(Variant(u"0")));
  EXPECT_TRUE(CBool(Variant(u"-1")));
  EXPECT_TRUE(CBool(Variant(0.1)));
  EXPECT_FALSE(CBool(Variant()));
  EXPECT_EQ(ErrorOf([] { CBool(Variant(u"abc")); }), err::kTypeMismatch);
  EXPECT_EQ(ErrorOf([] { CBool(Variant(u"")); }), err::kTypeMismatch);
  EXPECT_EQ(ErrorOf([] { CBool(Variant::Null()); }), err::kInvalidNull);

  EXPECT_EQ(CDate(Variant(45356.5)).serial, 45356.5);
  EXPECT_EQ(CDate(Variant(u"2024-03-05")).serial, 45356);
  EXPECT_EQ(ErrorOf([] { CDate(Variant(u"abc")); }), err::kTypeMismatch);
  EXPECT_EQ(ErrorOf([] { CDate(Variant(u"45356")); }), err::kTypeMismatch);
  EXPECT_EQ(ErrorOf([] { CDate(Variant(1e10)); }), err::kOverflow);
  EXPECT_EQ(ErrorOf([] { CDate(Variant::Null()); }), err::kInvalidNull);
}

TEST(Coerce, ValReadsTheLeadingNumber) {
  struct Case {
    const char16_t* text;
    double expected;
  };
  const Case cases[] = {
      {u"  12 34 ", 1234}, {u"1 2.5e1x", 125},  {u"12 e 2", 1200},  {u"&HFFFF", -1},
      {u"&hff", 255},      {u"&H10000", 65536}, {u"&HFFFFFFFF", -1}, {u"&O777", 511},
      {u"&O177777", -1},   {u"&O8", 0},         {u"&H", 0},         {u"& H 1F", 31},
      {u"&H1G", 1},        {u"&Z1", 0},         {u"1,234", 1},      {u"-12.5abc", -12.5},
      {u"+.5", 0.5},       {u".", 0},           {u"-", 0},          {u"abc", 0},
      {u"", 0},            {u"1e", 1},          {u"1e+", 1},        {u"1e-2", 0.01},
      {u"2d3", 2000},      {u"1.2.3", 1.2},     {u"\t\n5", 5},      {u"１２", 0},
      {u"e5", 0},          {u"- 5", -5},        {u"0012", 12},
  };
  for (const Case& c : cases) EXPECT_EQ(Val(c.text), c.expected) << ToUtf8(c.text);
  EXPECT_EQ(ErrorOf([] { Val(u"&H100000000"); }), err::kOverflow);
  EXPECT_EQ(ErrorOf([] { Val(u"1e999"); }), err::kOverflow);
}

TEST(Coerce, IsNumericAndIsDate) {
  const char16_t* numeric[] = {u"12", u" -1,234.5e2 ", u"&H1F", u"5.", u"+0.5"};
  for (const char16_t* t : numeric) EXPECT_TRUE(IsNumeric(Variant(t))) << ToUtf8(t);
  const char16_t* not_numeric[] = {u"1e", u"abc", u"", u" ", u"1.2.3", u",5", u"1e400",
                                   u"2024-03-05"};
  for (const char16_t* t : not_numeric) EXPECT_FALSE(IsNumeric(Variant(t))) << ToUtf8(t);
  EXPECT_TRUE(IsNumeric(Variant()));
  EXPECT_TRUE(IsNumeric(Variant(true)));
  EXPECT_TRUE(IsNumeric(Variant(Currency{1})));
  EXPECT_FALSE(IsNumeric(Variant::Null()));
  EXPECT_FALSE(IsNumeric(Variant(Date{1})));

  EXPECT_TRUE(IsDate(Variant(u"2024-03-05")));
  EXPECT_TRUE(IsDate(Variant(u"下午 8:30")));
  EXPECT_TRUE(IsDate(Variant(Date{0})));
  EXPECT_FALSE(IsDate(Variant(u"20240305")));
  EXPECT_FALSE(IsDate(Variant(u"2024-02-30")));
  EXPECT_FALSE(IsDate(Variant(45356)));
  EXPECT_FALSE(IsDate(Variant::Null()));
}

}  // namespace
}  // namespace automation
