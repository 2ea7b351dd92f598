// Combined events saved sub-event by sub-event: points by formula and by
// the meet's lookup table, the totals and the sub-event summary on each
// athlete's combined-event row.
#include <gtest/gtest.h>

#include "arenix/meet/stage_field.h"
#include "result_entry_meet.h"

namespace wldf_test {
namespace {

using arenix::meet::WldfSaveSettings;

void AddAthlete(Meet& meet, const std::string& number, const std::string& event, bool men,
                const std::vector<std::pair<std::string, std::string>>& subs) {
  Entrant parent;
  parent.number = number;
  parent.name = "全能" + number;
  parent.event = event;
  parent.men = men;
  parent.kind = "全能";
  parent.in_lanes = false;
  meet.Add(parent);
  for (const auto& [sub, kind] : subs) {
    Entrant e = parent;
    e.sub = sub;
    e.kind = kind;
    meet.Add(e);
  }
}

const std::vector<std::pair<std::string, std::string>> kDecathlon = {
    {"100米(电计)", "径赛"}, {"跳远", "田赛"}, {"铅球", "田赛"}, {"400米(电计)", "径赛"}, {"110米栏(电计)", "径赛"}};

Form SubEvent(const std::string& event, const std::string& sub, const std::string& sex = "男") {
  Form f(event, 1, 4, sex);
  f.Set("item_sub", sub);
  return f;
}

TEST(CombinedEvent, DecathlonByFormulaWithTotalsAndSummary) {
  Meet meet;
  for (const auto& [sub, kind] : kDecathlon)
    meet.Exec("Insert Into Item_Sub (参赛项目, 参赛子项目, 计分调整值) Values ('十项全能', '" + sub + "', '')");
  AddAthlete(meet, "7", "十项全能", true, kDecathlon);
  AddAthlete(meet, "8", "十项全能", true, kDecathlon);
  meet.Exec("Update Play Set 复赛信息='' Where 参赛子项目==''");
  const WldfSaveSettings s;

  Form long_jump = SubEvent("十项全能", "跳远");
  long_jump.Mark("7", "7", "76").Mark("8", "7", "00");
  Save(meet, long_jump, s);
  Form shot = SubEvent("十项全能", "铅球");
  shot.Mark("7", "18", "40").Mark("8", "", "");
  Save(meet, shot, s);
  Form quarter = SubEvent("十项全能", "400米(电计)");
  quarter.Time("7", "46", "17").Blank("8");
  Save(meet, quarter, s);
  Form hurdles = SubEvent("十项全能", "110米栏(电计)");
  hurdles.Time("7", "13", "80").Time("8", "14", "50");
  Save(meet, hurdles, s);

  auto rows = meet.Rows();
  EXPECT_EQ(Num(rows["7/跳远"]["比赛得分"]), 1000);
  EXPECT_EQ(Num(rows["8/跳远"]["比赛得分"]), 814);
  EXPECT_EQ(Num(rows["7/铅球"]["比赛得分"]), 1000);
  EXPECT_EQ(Num(rows["8/铅球"]["比赛得分"]), 0);
  EXPECT_EQ(Num(rows["7/400米(电计)"]["比赛得分"]), 1000);
  EXPECT_EQ(Num(rows["8/400米(电计)"]["比赛得分"]), 0);  // no result
  EXPECT_EQ(Num(rows["7/110米栏(电计)"]["比赛得分"]), 1000);
  const double hurdles_8 = Num(rows["8/110米栏(电计)"]["比赛得分"]);
  EXPECT_EQ(hurdles_8, 911);  // Int(5.74352 x 14.00^1.92)
  EXPECT_EQ(Int(rows["7/跳远"]["比赛名次"]), 1);

  // Totals on the athletes' own rows, in 比赛成绩 and the final's field.
  EXPECT_EQ(Str(rows["7"]["比赛成绩"]), "     4000");
  EXPECT_EQ(Str(rows["8"]["比赛成绩"]), "     1725");
  EXPECT_EQ(Str(rows["7"]["决赛信息"]).substr(18, 9), "     4000");
  // The summary: 15 characters per sub-event in Item_Sub order.
  const std::string summary = Str(rows["7"]["复赛信息"]);
  EXPECT_EQ(summary.substr(0, 15), std::string(15, ' '));  // 100 m not yet run
  EXPECT_EQ(summary.substr(15, 15), "     776  1000 ");
  EXPECT_EQ(summary.substr(45, 15), "    4617  1000 ");
  EXPECT_EQ(Str(rows["8"]["复赛信息"]).substr(60), "    1450   911");  // trailing blank trimmed
  // The sub-event rows keep their own stage field.
  EXPECT_EQ(arenix::meet::UnpackStageField(rows["8/跳远"]["决赛信息"].text()).points, 814);
}

TEST(CombinedEvent, HeptathlonByLookupTableAndFormula) {
  Meet meet;
  const std::vector<std::pair<std::string, std::string>> subs = {{"200米(电计)", "径赛"}, {"跳高", "田赛"}};
  for (const auto& [sub, kind] : subs)
    meet.Exec("Insert Into Item_Sub (参赛项目, 参赛子项目) Values ('七项全能', '" + sub + "')");
  for (const char* n : {"21", "22", "23"}) AddAthlete(meet, n, "七项全能", false, subs);
  // The lookup table: thresholds as quoted keys, for women only.
  const std::vector<std::pair<int, std::string>> table = {{900, "000001740"}, {1003, "000001820"}, {1016, "000001830"}};
  for (const auto& [points, key] : table)
    meet.Exec("Insert Into Fcgqn_CjDfDzb (参赛项目, 分值, 男比对成绩, 女比对成绩, 男子成绩, 女子成绩) Values ('跳高', " +
              std::to_string(points) + ", '''000009999''', '''" + key + "''', '', '1')");

  WldfSaveSettings table_mode;
  table_mode.lookup_table = 1;
  Form high_jump = SubEvent("七项全能", "跳高", "女");
  high_jump.Mark("21", "1", "82").Mark("22", "1", "78").Mark("23", "1", "60");
  Save(meet, high_jump, table_mode);

  Form sprint = SubEvent("七项全能", "200米(电计)", "女");
  sprint.Time("21", "23", "80").Time("22", "25", "00").Blank("23");
  Save(meet, sprint, WldfSaveSettings{});

  auto rows = meet.Rows();
  EXPECT_EQ(Num(rows["21/跳高"]["比赛得分"]), 1003);
  EXPECT_EQ(Num(rows["22/跳高"]["比赛得分"]), 900);
  EXPECT_EQ(Num(rows["23/跳高"]["比赛得分"]), 0);  // no threshold reached
  EXPECT_EQ(Num(rows["21/200米(电计)"]["比赛得分"]), 1000);
  EXPECT_EQ(Num(rows["22/200米(电计)"]["比赛得分"]), 887);  // Int(4.99087 x 17.50^1.81)
  EXPECT_EQ(Str(rows["21"]["比赛成绩"]), "     2003");
  EXPECT_EQ(Str(rows["22"]["比赛成绩"]), "     1787");
  EXPECT_EQ(Str(rows["23"]["比赛成绩"]), "        0");
  EXPECT_EQ(Str(rows["21"]["复赛信息"]), "    2380  1000      182  1003");
}

}  // namespace
}  // namespace wldf_test
