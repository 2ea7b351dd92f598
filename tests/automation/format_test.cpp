#include <gtest/gtest.h>

#include "automation/runtime.h"
#include "test_util.h"

namespace automation {
namespace {

using testing_util::D;
using testing_util::ErrorOf;

struct FormatCase {
  Variant value;
  const char16_t* pattern;
  const char16_t* expected;
};

void ExpectFormats(const std::vector<FormatCase>& cases) {
  for (const FormatCase& c : cases)
    EXPECT_EQ(Format(c.value, c.pattern), c.expected)
        << ToUtf8(CStr(c.value.IsNull() ? Variant(u"Null") : c.value)) << " with \""
        << ToUtf8(c.pattern) << '"';
}

TEST(Format, NumberPatterns) {
  ExpectFormats({
      {Variant(5), u"00", u"05"},
      {Variant(7), u"0000", u"0007"},
      {Variant(12345), u"00", u"12345"},
      {Variant(1234.5), u"#,##0.00", u"1,234.50"},
      {Variant(1234567.891), u"#,##0.00", u"1,234,567.89"},
      {Variant(5), u"#,##0", u"5"},
      {Variant(0.5), u"0.00", u"0.50"},
      {Variant(0.5), u"#.00", u".50"},
      {Variant(2.675), u"0.00", u"2.68"},  // as the number reads, not as it is stored
      {Variant(1.005), u"0.00", u"1.01"},
      {Variant(2.5), u"0", u"3"},  // halves away from zero, unlike CInt
      {Variant(-2.5), u"0", u"-3"},
      {Variant(-0.001), u"0.00", u"0.00"},
      {Variant(1.5), u"0.##", u"1.5"},
      {Variant(1.0), u"0.##", u"1."},
      {Variant(0.256), u"0.0%", u"25.6%"},
      {Variant(1234.5), u"0.00E+00", u"1.23E+03"},
      {Variant(0.000123), u"0.00E+00", u"1.23E-04"},
      {Variant(1234.5), u"0.00e-00", u"1.23e03"},
      {Variant(9.999), u"0.00E+00", u"1.00E+01"},
      {Variant(0), u"0.00E+00", u"0.00E+00"},
      {Variant(1234567), u"#,##0,", u"1,235"},
      {Variant(1234567), u"0,,", u"1"},
      {Variant(1234567), u"0,.00", u"1234.57"},
      {Variant(-5), u"0;(0)", u"(5)"},
      {Variant(-5), u"0;;\"零\"", u"-5"},
      {Variant(0), u"0;(0);\"零\"", u"零"},
      {Variant(3.5), u"0.00\" MB\"", u"3.50 MB"},
      {Variant(3.5), u"\\$0.0", u"$3.5"},
      {Variant(-3.5), u"$0.0", u"-$3.5"},
      {Variant(5551234), u"###-####", u"555-1234"},
      {Variant(1e20), u"0", u"100000000000000000000"},
      {Variant(true), u"0", u"-1"},
      {Variant(Currency{12345}), u"0.0000", u"1.2345"},
      {Variant(u"123"), u"00000", u"00123"},
      {Variant(u" 1,234.5 "), u"#,##0.0", u"1,234.5"},
      {Variant(u"abc"), u"0.00", u"abc"},
      {Variant(D(2024, 3, 5, 12, 0)), u"0.00", u"45356.50"},
  });
}

TEST(Format, DatePatterns) {
  const Variant d(D(2024, 3, 5, 8, 30, 5));
  const Variant evening(D(2024, 3, 5, 20, 7, 9));
  ExpectFormats({
      {d, u"yyyy-mm-dd", u"2024-03-05"},
      {d, u"yyyymmdd", u"20240305"},
      {d, u"yyyy-mm-dd hh:nn:ss", u"2024-03-05 08:30:05"},
      {d, u"hh:mm:ss", u"08:30:05"},  // m after an hour is the minute
      {d, u"mm:ss", u"30:05"},        // and so is m before a second
      {d, u"yyyy年m月d日", u"2024年3月5日"},
      {d, u"YYYY/M/D", u"2024/3/5"},
      {d, u"yy", u"24"},
      {d, u"h:nn AM/PM", u"8:30 AM"},
      {evening, u"h:nn AM/PM", u"8:07 PM"},
      {evening, u"hh:nn am/pm", u"08:07 pm"},
      {evening, u"h:nn a/p", u"8:07 p"},
      {d, u"AMPM hh:nn", u"上午 08:30"},
      {evening, u"AMPM h:nn", u"下午 8:07"},
      {Variant(D(2024, 3, 5, 0, 15)), u"h:nn AM/PM", u"12:15 AM"},
      {Variant(D(2024, 3, 5, 12, 15)), u"h:nn AM/PM", u"12:15 PM"},
      {evening, u"H:N:S", u"20:7:9"},
      {d, u"dddd", u"星期二"},
      {d, u"ddd", u"周二"},
      {d, u"mmmm", u"三月"},
      {d, u"mmm", u"3月"},
      {d, u"q", u"1"},
      {d, u"y", u"65"},
      {d, u"w", u"3"},
      {d, u"ww", u"10"},
      {d, u"c", u"2024/3/5 8:30:05"},
      {d, u"ddddd", u"2024/3/5"},
      {d, u"dddddd", u"2024年3月5日"},
      {d, u"ttttt", u"8:30:05"},
      {d, u"\"日期：\"yyyy", u"日期：2024"},
      {d, u"\\y\\e\\a\\r yyyy", u"year 2024"},
      {Variant(45356), u"yyyy-mm-dd", u"2024-03-05"},
      {Variant(u"2024/3/5"), u"yyyymmdd", u"20240305"},
      {Variant(u"下午 8:07"), u"hh:nn", u"20:07"},
      {Variant(u"kein Datum"), u"yyyy", u"kein Datum"},
  });
  EXPECT_EQ(ErrorOf([] { Format(Variant(1e20), u"yyyy"); }), err::kOverflow);
}

TEST(Format, NamedForms) {
  const Variant d(D(2024, 3, 5, 8, 30, 5));
  ExpectFormats({
      {Variant(1234.5), u"Standard", u"1,234.50"},
      {Variant(-1234.5), u"standard", u"-1,234.50"},
      {Variant(1234.5), u"Fixed", u"1234.50"},
      {Variant(0.1234), u"Percent", u"12.34%"},
      {Variant(1234.5), u"Scientific", u"1.23E+03"},
      {Variant(1234.5), u"Currency", u"\uFFE51,234.50"},
      {Variant(1234.5), u"General Number", u"1234.5"},
      {Variant(0), u"Yes/No", u"No"},
      {Variant(2), u"True/False", u"True"},
      {Variant(-1), u"On/Off", u"On"},
      {d, u"General Date", u"2024/3/5 8:30:05"},
      {d, u"Long Date", u"2024年3月5日"},
      {d, u"Medium Date", u"24-3月-05"},
      {d, u"Short Date", u"2024/3/5"},
      {d, u"Long Time", u"8:30:05"},
      {d, u"Medium Time", u"08:30 上午"},
      {d, u"Short Time", u"08:30"},
      {Variant(45356.5), u"Short Date", u"2024/3/5"},
      {Variant(u"2024-03-05"), u"Long Date", u"2024年3月5日"},
      {Variant(u"45356"), u"Short Date", u"2024/3/5"},
      {Variant(u"abc"), u"Standard", u"abc"},
  });
}

TEST(Format, EmptyPatternsNullAndText) {
  ExpectFormats({
      {Variant(1.5), u"", u"1.5"},
      {Variant(true), u"", u"True"},
      {Variant(D(2024, 3, 5)), u"", u"2024/3/5"},
      {Variant(u"文本"), u"", u"文本"},
      {Variant(), u"", u""},
      {Variant::Null(), u"0.00", u""},
      {Variant::Null(), u"0;-0;0;\"空\"", u"空"},
      {Variant(u"abc"), u">", u"ABC"},
      {Variant(u"ABC"), u"<", u"abc"},
      {Variant(u"ab"), u"@@@@", u"  ab"},
      {Variant(u"ab"), u"!@@@@", u"ab  "},
      {Variant(u"ab"), u"&&&&", u"ab"},
      {Variant(u"abcdef"), u"@@@", u"abcdef"},
      {Variant(u"13912345678"), u"@@@-@@@@-@@@@", u"139-1234-5678"},
      {Variant(42), u"@@@@", u"  42"},
  });
  EXPECT_EQ(ErrorOf([] { Format(Variant(Array{}), u"0"); }), err::kTypeMismatch);
}

TEST(Format, FormatNumberFamily) {
  EXPECT_EQ(FormatNumber(Variant(1234.5)), u"1,234.50");
  EXPECT_EQ(FormatNumber(Variant(500), 2), u"500.00");
  EXPECT_EQ(FormatNumber(Variant(0.5)), u"0.50");
  EXPECT_EQ(FormatNumber(Variant(0.5), 2, Tristate::False), u".50");
  EXPECT_EQ(FormatNumber(Variant(-1234.56), 1), u"-1,234.6");
  EXPECT_EQ(FormatNumber(Variant(-5), 0, Tristate::UseDefault, Tristate::True), u"(5)");
  EXPECT_EQ(FormatNumber(Variant(1234.5), 0, Tristate::UseDefault, Tristate::UseDefault,
                         Tristate::False),
            u"1235");
  EXPECT_EQ(FormatNumber(Variant(u"1,234.5")), u"1,234.50");
  EXPECT_EQ(FormatNumber(Variant(-0.001)), u"0.00");
  EXPECT_EQ(FormatNumber(Variant()), u"0.00");
  EXPECT_EQ(FormatNumber(Variant::Null()), u"");
  EXPECT_EQ(FormatPercent(Variant(0.1234)), u"12.34%");
  EXPECT_EQ(FormatPercent(Variant(-0.5), 0), u"-50%");
  EXPECT_EQ(FormatCurrency(Variant(1234.5)), u"\uFFE51,234.50");
  EXPECT_EQ(FormatCurrency(Variant(-1)), u"\uFFE5-1.00");
  EXPECT_EQ(FormatCurrency(Variant(-1), 2, Tristate::UseDefault, Tristate::True),
            u"(\uFFE51.00)");
  EXPECT_EQ(ErrorOf([] { FormatNumber(Variant(u"abc")); }), err::kTypeMismatch);
  EXPECT_EQ(ErrorOf([] { FormatNumber(Variant(1), -2); }), err::kInvalidCall);
}

TEST(Format, FormatDateTimeForms) {
  const Variant d(D(2024, 3, 5, 8, 30, 5));
  EXPECT_EQ(FormatDateTime(d), u"2024/3/5 8:30:05");
  EXPECT_EQ(FormatDateTime(d, DateFormat::LongDate), u"2024年3月5日");
  EXPECT_EQ(FormatDateTime(d, DateFormat::ShortDate), u"2024/3/5");
  EXPECT_EQ(FormatDateTime(d, DateFormat::LongTime), u"8:30:05");
  EXPECT_EQ(FormatDateTime(d, DateFormat::ShortTime), u"08:30");
  EXPECT_EQ(FormatDateTime(Variant(u"2024-03-05 20:07")), u"2024/3/5 20:07:00");
  EXPECT_EQ(FormatDateTime(Variant::Null()), u"");
  EXPECT_EQ(ErrorOf([] { FormatDateTime(Variant(u"abc")); }), err::kTypeMismatch);
  EXPECT_EQ(ErrorOf([&] { FormatDateTime(d, static_cast<DateFormat>(9)); }), err::kInvalidCall);
}

}  // namespace
}  // namespace automation
