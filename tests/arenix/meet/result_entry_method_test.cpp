// CommWldfSave and CommGetParaFromSexItem_TJ called by name as a page
// calls them: 38 arguments, the point arrays by reference, custom place
// points written back into the page's array.
#include <gtest/gtest.h>

#include "arenix/frame/arenix_cls.h"
#include "result_entry_meet.h"

namespace wldf_test {
namespace {

// The page's arguments after Request, Conn and Rs, in catalogue order.
std::vector<Variant> Settings(int16_t custom_points) {
  auto i = [](int v) { return Variant(int16_t(v)); };
  return {i(1), i(1), i(8), Variant(Text(u"45362718")), Variant(Text(u"0")), i(0), i(0), i(8), i(0), i(8), i(0),
          i(10) /* Dfrs */, Variant() /* p_SportsBscj */, i(0), i(0), i(0), i(0), i(0), i(0),
          Variant() /* p_SportsBscjDjfFz */, i(1), i(custom_points), i(0), i(1), i(0), i(0), i(0), i(0), i(0),
          i(0), i(0), i(0), i(0), i(0), i(0), Variant(Text()), Variant(Text(u"混"))};
}

TEST(WldfMethods, CustomPlacePointsComeBackInThePagesArray) {
  Meet meet;
  for (int k = 1; k <= 3; ++k) {
    Entrant e;
    e.number = std::to_string(k);
    e.name = "选手" + e.number;
    meet.Add(e);
  }
  meet.Exec("Insert Into Age (年龄组, 自定义得分) Values ('甲组', '12|')");  // one "|": not a list
  meet.Exec("Insert Into Item (参赛项目, 自定义得分) Values ('100米', '10|8|6|5|4|3|2|1')");
  Form form("100米", 1, 4);
  form.Time("1", "11", "00").Time("2", "10", "90").Time("3", "11", "10");
  Variant request = form.Request();

  arenix::ArenixCls cls;
  std::vector<Variant> values = Settings(1);
  values[12] = Points({9, 7, 6, 5, 4, 3, 2, 1, 0.5, 0.5});
  values[19] = Points({1, 2, 3, 4, 5, 6});
  std::vector<Variant*> args = {&request, &meet.conn, &meet.rs};
  for (auto& v : values) args.push_back(&v);
  EXPECT_TRUE(CallMethod(cls, u"CommWldfSave", args).IsEmpty());

  const automation::Array& points = values[12].array();
  ASSERT_EQ(points.lbound, 1);
  std::vector<double> now;
  for (const auto& v : points.items) now.push_back(automation::CDbl(v));
  EXPECT_EQ(now, (std::vector<double>{10, 8, 6, 5, 4, 3, 2, 1, 0, 0}));
  EXPECT_EQ(values[19], Points({1, 2, 3, 4, 5, 6}));
  auto rows = meet.Rows();
  EXPECT_EQ(Num(rows["2"]["比赛得分"]), 10);
  EXPECT_EQ(Num(rows["1"]["比赛得分"]), 8);
  EXPECT_EQ(Num(rows["3"]["比赛得分"]), 6);

  Variant sex(Text(u"女")), item(Text(u"100米"));
  Variant* para[] = {&sex, &item};
  EXPECT_EQ(CallMethod(cls, u"CommGetParaFromSexItem_TJ", para), Variant(Text(u"径赛项目|17.8570|20.76|1.81")));
}

}  // namespace
}  // namespace wldf_test
