// The number a spreadsheet gets for a stored result: seconds, metres or
// the value itself; nothing for no result or a stored result that is not
// digits where the layout has them.
#include <gtest/gtest.h>

#include <optional>

#include "arenix/meet/mark_number.h"

namespace arenix::meet {
namespace {

TEST(MarkNumber, SecondsMetresAndValues) {
  struct Case {
    ResultLayout layout;
    const char16_t* stored;
    std::optional<double> number;
  } cases[] = {
      {ResultLayout::kTime, u"    1050 ", 10.5},
      {ResultLayout::kTime, u"   10230 ", 62.3},       // 1'02"30
      {ResultLayout::kTime, u"  125907 ", 779.07},     // 12'59"07
      {ResultLayout::kTimeWithHours, u" 113005  ", 4380.5},
      {ResultLayout::kField, u"    1234 ", 12.34},
      {ResultLayout::kField, u"     705 ", 7.05},
      {ResultLayout::kCustom, u"      123", 123},
      {ResultLayout::kCombinedTotal, u"     7856", 7856},
      {ResultLayout::kTime, u"         ", std::nullopt},
      {ResultLayout::kField, u"", std::nullopt},
      {ResultLayout::kTime, u"    1a50 ", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(automation::ToUtf8(c.stored));
    const auto n = MarkNumber(c.layout, c.stored);
    ASSERT_EQ(n.has_value(), c.number.has_value());
    if (n) {
      EXPECT_NEAR(*n, *c.number, 1e-9);
    }
  }
}

}  // namespace
}  // namespace arenix::meet
