// The combined-event parameters and formulas, checked against the worked
// examples and against scores of the published combined-events tables
// (which rest on the same formula and parameters).
#include <gtest/gtest.h>

#include "arenix/meet/result_entry_combined.h"

namespace arenix::meet {
namespace {

TEST(CombinedParameters, LooksUpBySexAndName) {
  struct Case {
    Text sex, item, expected;
  } cases[] = {
      {u"女", u"100米", u"径赛项目|17.8570|20.76|1.81"},
      {u"男", u"", u""},
      {u"男", u" 跳远 ", u"跳跃项目|0.14354|220.00|1.40"},
      {u"男子", u"110米栏(电计)", u"径赛项目|5.74352|28.50|1.92"},
      {u"女", u"110米栏", u""},  // the women run 100 m hurdles
      {u"女", u"100米栏(电计)", u"径赛项目|9.23076|26.70|1.835"},
      {u"混", u"铅球", u"投掷项目|56.0211|1.50|1.05"},  // not men: the women's table
      {u"男", u"三级跳远", u""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(GetParaFromSexItem(c.sex, c.item), c.expected) << automation::ToUtf8(c.item);

  EXPECT_EQ(SwimParaFromSexItem(u"男", u"50米自由泳", 1), u"50米池|    2181 |         |0.5191");
  EXPECT_EQ(SwimParaFromSexItem(u"女", u"200米自由泳", 2), u"25米池|   15584 |         |2.7563");
  EXPECT_EQ(SwimParaFromSexItem(u"男", u"1500米自由泳", 1), u"50米池|  144166 |         |20.9825");
  EXPECT_EQ(SwimParaFromSexItem(u"男", u"50米混合泳", 1), u"50米池|         |         |0");
  EXPECT_EQ(SwimParaFromSexItem(u"女", u"50米混合泳", 0), u"25米池|   10103 |         |1.4256");
  EXPECT_EQ(SwimParaFromSexItem(u"男", u"跳远", 1), u"");
}

TEST(CombinedFormula, ScoresAsThePublishedTables) {
  struct Case {
    Text sex, item, key;
    double points;
  } cases[] = {
      // worked examples
      {u"男", u"100米", u"000011000", 808},
      {u"男", u"100米(电计)", u"000011000", 861},
      {u"男", u"跳远", u"000007000", 814},
      // decathlon: 1000 points each
      {u"男", u"跳远", u"000007760", 1000},
      {u"男", u"铅球", u"000018400", 1000},
      {u"男", u"400米(电计)", u"000046170", 1000},
      {u"男", u"110米栏(电计)", u"000013800", 1000},
      // heptathlon
      {u"女", u"200米(电计)", u"000023800", 1000},
      {u"女", u"800米", u"000207630", 1000},
      {u"女", u"100米栏(电计)", u"000013850", 1000},
      {u"女", u"跳高", u"000001820", 1003},
      {u"女", u"标枪", u"000057180", 1000},
      // no result: nothing for a run, a jump or a throw
      {u"男", u"100米", u"000000000", 0},
      {u"男", u"100米", u"999999999", 0},
      {u"男", u"跳高", u"000000000", 0},
      {u"男", u"铁饼", u"000000000", 0},
  };
  for (const auto& c : cases) {
    const auto points = FormulaPoints(GetParaFromSexItem(c.sex, c.item), c.key, 0);
    ASSERT_TRUE(points.has_value()) << automation::ToUtf8(c.item);
    EXPECT_EQ(*points, c.points) << automation::ToUtf8(c.item + u" " + c.key);
  }
  // The adjustment is added to the difference: 0.24 s makes hand timing
  // score as automatic timing.
  EXPECT_EQ(*FormulaPoints(GetParaFromSexItem(u"男", u"100米"), u"000011000", 0.24), 861);
  EXPECT_FALSE(FormulaPoints(u"", u"000011000", 0).has_value());
  EXPECT_FALSE(FormulaPoints(u"别的项目|1|2|3", u"000011000", 0).has_value());
}

TEST(CombinedFormula, SwimmingRoundsToWholePoints) {
  const Text params = u"50米池|    2000 |         |0.5";
  EXPECT_EQ(*SwimPoints(params, u"000020000", 0), 100);
  EXPECT_EQ(*SwimPoints(params, u"000020500", 0), 99);
  EXPECT_EQ(*SwimPoints(params, u"000020750", 0), 98);  // 98.5: halves to even
  EXPECT_EQ(*SwimPoints(params, u"000021250", 0), 98);  // 97.5
  EXPECT_EQ(*SwimPoints(params, u"000019500", 0), 101);  // faster than the base
  EXPECT_EQ(*SwimPoints(params, u"000020000", 0.5), 99);
  EXPECT_EQ(*SwimPoints(params, u"010000000", 0), 0);    // never below 0
  EXPECT_EQ(*SwimPoints(params, u"000000000", 0), 0);    // no result
  EXPECT_EQ(*SwimPoints(SwimParaFromSexItem(u"男", u"50米混合泳", 1), u"000030000", 0), 0);  // no base time
  EXPECT_EQ(*SwimPoints(SwimParaFromSexItem(u"男", u"50米自由泳", 1), u"000021810", 0), 100);
}

}  // namespace
}  // namespace arenix::meet
