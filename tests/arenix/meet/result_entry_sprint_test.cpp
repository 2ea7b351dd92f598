// A 100 m with heats and a final, saved through the entry form as a
// recorder saves it: keys, places with ties, heat places, qualifiers and
// the heats and lanes of the final; then the final's points, records,
// grades and scorers.
#include <gtest/gtest.h>

#include "arenix/meet/stage_field.h"
#include "automation/clock.h"
#include "automation/datetime.h"
#include "result_entry_meet.h"

namespace wldf_test {
namespace {

using arenix::meet::WldfSaveSettings;

WldfSaveSettings SprintSettings() {
  WldfSaveSettings s;
  s.lanes = 8;
  s.lane_order = u"45362718";
  s.several_heats = 2;
  s.scoring_places = 19;  // every finisher of the heats goes on
  return s;
}

// 19 sprinters in three heats of the first round; numbers 1 to 19.
void AddSprinters(Meet& meet) {
  for (int i = 1; i <= 19; ++i) {
    Entrant e;
    e.number = std::to_string(i);
    e.name = "选手" + e.number;
    e.heat = (i - 1) % 3 + 1;
    e.lane = (i - 1) / 3 + 1;
    e.multiplier = 2;
    meet.Add(e);
  }
  meet.AddRound("100米", "预赛");
  meet.AddRound("100米", "决赛");
}

// The heats: 1-3 tie in 10.50, then 10.60, 10.61, ... for 4 to 19.
Form HeatsForm() {
  Form f("100米", 2, 1);
  for (int i = 1; i <= 19; ++i) {
    const int hundredths = i <= 3 ? 50 : 56 + i;
    f.Time(std::to_string(i), std::to_string(10 + hundredths / 100), std::to_string(hundredths % 100));
  }
  return f;
}

TEST(SprintRounds, HeatsRankAndSeedTheFinal) {
  Meet meet;
  AddSprinters(meet);
  Form form = HeatsForm();
  Save(meet, form, SprintSettings());

  auto rows = meet.Rows();
  ASSERT_EQ(rows.size(), 19u);
  EXPECT_EQ(Str(rows["1"]["比赛成绩"]), "    1050");
  EXPECT_EQ(Str(rows["1"]["排序成绩"]), "000010500");
  EXPECT_EQ(Str(rows["19"]["排序成绩"]), "000010750");
  std::vector<int> places;
  for (int i = 1; i <= 6; ++i) places.push_back(Int(rows[std::to_string(i)]["比赛名次"]));
  EXPECT_EQ(places, (std::vector<int>{1, 1, 1, 4, 5, 6}));
  // Heat places: heat 1 holds 1, 4, 7, ...; heat 2 holds 2, 5, 8, ...
  EXPECT_EQ(Int(rows["1"]["比赛组名次"]), 1);
  EXPECT_EQ(Int(rows["4"]["比赛组名次"]), 2);
  EXPECT_EQ(Int(rows["2"]["比赛组名次"]), 1);
  EXPECT_EQ(Int(rows["5"]["比赛组名次"]), 2);
  EXPECT_EQ(Int(rows["18"]["比赛组名次"]), 6);

  // Everyone qualifies; heats of 7, 6 and 6 in ranking order, lanes from
  // the lane order.
  std::map<int, std::vector<int>> lanes_by_heat;
  for (int i = 1; i <= 19; ++i) {
    auto& r = rows[std::to_string(i)];
    EXPECT_TRUE(r["比赛晋级"].As<bool>()) << i;
    EXPECT_EQ(Str(r["后赛组人数"]), "003019");
    lanes_by_heat[Int(r["后赛组次"])].push_back(Int(r["后赛道次"]));
    EXPECT_EQ(Int(r["后赛序号"]), Int(r["后赛组次"]) * 100 + Int(r["后赛道次"]));
  }
  ASSERT_EQ(lanes_by_heat.size(), 3u);
  EXPECT_EQ(lanes_by_heat[1].size(), 7u);
  EXPECT_EQ(lanes_by_heat[2].size(), 6u);
  EXPECT_EQ(lanes_by_heat[3].size(), 6u);
  EXPECT_EQ(Int(rows["4"]["后赛组次"]), 1);  // 4th fastest: heat 1, lane 6
  EXPECT_EQ(Int(rows["4"]["后赛道次"]), 6);
  EXPECT_EQ(Int(rows["8"]["后赛组次"]), 2);  // 8th: first of heat 2, lane 4
  EXPECT_EQ(Int(rows["8"]["后赛道次"]), 4);
  EXPECT_EQ(Int(rows["19"]["后赛道次"]), 7);  // last of heat 3: 6th lane of the order

  // The final's field begins with the draw; the heats' field carries the
  // round's columns.
  EXPECT_EQ(Str(rows["8"]["决赛信息"]).substr(0, 18), " 204   2   4003019");
  auto heats = arenix::meet::UnpackStageField(rows["4"]["预赛信息"].text());
  EXPECT_EQ(heats.result, u"    1060 ");
  EXPECT_EQ(heats.place, 4);
  EXPECT_EQ(heats.heat_place, 2);
  EXPECT_TRUE(heats.advanced);
  EXPECT_EQ(meet.Query("Select 比赛状态 From PlaySour Where 赛次名称='预赛'").rows[0][0], Variant(true));
  EXPECT_EQ(meet.Query("Select 比赛状态 From PlaySour Where 赛次名称='决赛'").rows[0][0], Variant(false));

  // The same form again gives the same rows.
  const std::string once = meet.Dump();
  Form again = HeatsForm();
  Save(meet, again, SprintSettings());
  EXPECT_EQ(meet.Dump(), once);
}

// The final after those heats: opened from the final's stage field as the
// lists open a round, then saved.
Form FinalForm() {
  Form f("100米", 2, 4);
  const std::map<int, std::string> hundredths = {{5, "10"}, {9, "25"}, {1, "30"}, {2, "30"},
                                                 {3, "35"}, {4, "40"}, {6, "45"}, {7, "50"}};
  for (int i = 1; i <= 19; ++i) {
    const std::string n = std::to_string(i);
    if (i == 19)
      f.Blank(n);
    else if (hundredths.count(i))
      f.Time(n, "10", hundredths.at(i));
    else
      f.Time(n, "10", std::to_string(50 + i));
  }
  f.Set("TsJs", "径赛").Set("Jtxm", "False").Set("Record", "    1020 ");
  f.Set("Record1", "    1000 ").Set("Record2", "    1015 ").Set("Record3", "    1005 ");
  f.Set("recordJf1", "12").Set("recordJf2", "8").Set("recordJf3", "4").Set("recordType", "2");
  f.Set("ydhmc", "市运动会").Set("ydhdd", "体育场");
  return f;
}

TEST(SprintRounds, FinalScoresRecordsAndGrades) {
  automation::ScopedClock clock(automation::MakeDate(2026, 5, 20, 9, 0, 0), 7);
  Meet meet;
  AddSprinters(meet);
  Form heats = HeatsForm();
  Save(meet, heats, SprintSettings());
  meet.Exec("Update Play Set " + ToUtf8(arenix::meet::StageFieldUnpackSet(u"决赛信息")));
  meet.Exec("Update Play Set 比赛等级='一级' Where 编号=='9'");
  for (const char* age : {"", "甲组", "乙组"})
    meet.Exec(std::string("Insert Into Record (性别, 径赛田赛, 参赛项目, 年龄组, 纪录组, 比赛成绩, 运动员) Values (.T., "
                          "'径赛', '100米', '") + age + "', '', '    1030 ', '旧记录')");

  WldfSaveSettings s = SprintSettings();
  s.scoring_places = 8;
  s.record_flags_auto = 1;
  s.grades_in_use = 1;
  s.grade_points_auto = 1;
  Variant points = Points({9, 7, 6, 5, 4, 3, 2, 1});
  Variant grades = Points({10, 8, 3, 2, 1, 0});
  Form final_form = FinalForm();
  Save(meet, final_form, s, points, grades);

  auto rows = meet.Rows();
  struct Expect {
    int number, place;
    double points;
    bool scored;
  } expected[] = {
      {5, 1, 9 * 2 + 8, true},  // place points x2, level-2 record points
      {9, 2, 7 * 2 + 3, true},  // grade points of 一级
      {1, 3, 5.5, true},        // tied for third: (6 + 5) / 2, no multiplier
      {2, 3, 5.5, true},
      {3, 5, 4 * 2, true},
      {7, 8, 1 * 2, true},
      {8, 9, 0, false},
      {19, 19, 0, false},       // no result: last
  };
  for (const auto& e : expected) {
    auto& r = rows[std::to_string(e.number)];
    EXPECT_EQ(Int(r["比赛名次"]), e.place) << e.number;
    EXPECT_EQ(Num(r["比赛得分"]), e.points) << e.number;
    EXPECT_EQ(r["比赛晋级"].As<bool>(), e.scored) << e.number;
  }
  EXPECT_TRUE(rows["5"]["比赛破记录"].As<bool>());
  EXPECT_FALSE(rows["9"]["比赛破记录"].As<bool>());
  EXPECT_EQ(Str(rows["19"]["排序成绩"]), "999999999");
  // Heat places in the final's heats, and the previous round carried.
  EXPECT_EQ(Int(rows["5"]["比赛组名次"]), 1);
  EXPECT_EQ(Str(rows["5"]["前赛成绩"]), "    1061");
  EXPECT_EQ(Int(rows["5"]["前赛名次"]), 5);
  auto packed = arenix::meet::UnpackStageField(rows["1"]["决赛信息"].text());
  EXPECT_EQ(packed.points, 5.5);
  EXPECT_EQ(packed.place, 3);

  // Only the age group's record is replaced (record type 2).
  auto records = meet.Query("Select 年龄组, 比赛成绩, 运动员, 时间, 地点, 运动会名称 From Record Order By 年龄组");
  ASSERT_EQ(records.rows.size(), 3u);
  EXPECT_EQ(ToUtf8(automation::Trim(records.rows[0][2].text())), "旧记录");
  EXPECT_EQ(ToUtf8(automation::Trim(records.rows[1][0].text())), "甲组");
  EXPECT_EQ(ToUtf8(automation::Trim(records.rows[1][2].text())), "选手5");
  EXPECT_EQ(Str(records.rows[1][1]), "    1010 ");
  EXPECT_EQ(Str(records.rows[1][3]), "2026 5");
  EXPECT_EQ(ToUtf8(automation::Trim(records.rows[1][4].text())), "体育场");
  EXPECT_EQ(ToUtf8(automation::Trim(records.rows[1][5].text())), "市运动会");
  EXPECT_EQ(ToUtf8(automation::Trim(records.rows[2][2].text())), "旧记录");
  EXPECT_EQ(meet.Query("Select 比赛状态 From PlaySour Where 赛次名称='决赛'").rows[0][0], Variant(true));

  const std::string once = meet.Dump();
  Form again = FinalForm();
  Save(meet, again, s, points, grades);
  EXPECT_EQ(meet.Dump(), once);
}

}  // namespace
}  // namespace wldf_test
