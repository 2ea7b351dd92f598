// The switches of a save: places typed by hand, out-of-competition
// entrants, small fields, grouped finals, scoring places filled from the
// heats, and the direct final.
#include <gtest/gtest.h>

#include "arenix/meet/stage_field.h"
#include "result_entry_meet.h"

namespace wldf_test {
namespace {

using arenix::meet::WldfSaveSettings;

// A final of `n` sprinters numbered 1..n, with the heats' result and place
// in their heats field (entrant i was i-th in 11.00 + i/100).
void AddFinalists(Meet& meet, int n, bool in_lanes = true) {
  for (int i = 1; i <= n; ++i) {
    arenix::meet::StageColumns heats;
    heats.heat = 1;
    heats.result = u"    11" + automation::FromUtf8(i < 10 ? "0" + std::to_string(i) : std::to_string(i)) + u" ";
    heats.place = i;
    Entrant e;
    e.number = std::to_string(i);
    e.name = "选手" + e.number;
    e.lane = i;
    e.in_lanes = in_lanes;
    e.heats_field = ToUtf8(arenix::meet::PackStageField(heats));
    meet.Add(e);
  }
}

// Times: entrant i runs 10.00 + i/10 unless given.
Form FinalTimes(int n, int stages = 2, std::map<int, std::string> hundredths = {}) {
  Form f("100米", stages, 4);
  for (int i = 1; i <= n; ++i) {
    const std::string h = hundredths.count(i) ? hundredths[i] : std::to_string(i * 10 % 100);
    if (h == "-")
      f.Blank(std::to_string(i));
    else
      f.Time(std::to_string(i), "10", h.size() == 1 ? "0" + h : h);
  }
  f.Set("TsJs", "径赛");
  return f;
}

std::vector<int> Places(Meet& meet, int n) {
  auto rows = meet.Rows();
  std::vector<int> out;
  for (int i = 1; i <= n; ++i) out.push_back(Int(rows[std::to_string(i)]["比赛名次"]));
  return out;
}

TEST(SaveRules, PlacesModeStoresWhatWasTyped) {
  Meet meet;
  AddFinalists(meet, 3);
  meet.Exec("Update Play Set 比赛组次=0, 比赛名次=7 Where 编号=='3'");  // not in this round
  meet.AddRound("100米", "决赛");
  Form f("100米", 2, 4);
  f.Set("bsjg", "1").Blank("1").Blank("2");
  f.Set("playmc_1", "2").Set("playzmc_1", "2").Set("playdf_1", "7").Set("playpjl_1", "on");
  f.Set("playmc_2", "1").Set("playzmc_2", "").Set("playdf_2", "9.5");
  Save(meet, f, WldfSaveSettings{});
  auto rows = meet.Rows();
  EXPECT_EQ(Int(rows["1"]["比赛名次"]), 2);
  EXPECT_EQ(Num(rows["1"]["比赛得分"]), 7);
  EXPECT_TRUE(rows["1"]["比赛破记录"].As<bool>());
  EXPECT_EQ(Int(rows["2"]["比赛组名次"]), 0);
  EXPECT_EQ(Num(rows["2"]["比赛得分"]), 9.5);
  EXPECT_FALSE(rows["2"]["比赛破记录"].As<bool>());
  EXPECT_EQ(Int(rows["3"]["比赛名次"]), 0);
  EXPECT_EQ(arenix::meet::UnpackStageField(rows["2"]["决赛信息"].text()).points, 9.5);
  EXPECT_EQ(meet.Query("Select 比赛状态 From PlaySour").rows[0][0], Variant(true));

  // A place that is no number stops the save before anything is written.
  const std::string before = meet.Dump();
  Form bad("100米", 2, 4);
  bad.Set("bsjg", "1").Blank("1").Blank("2").Set("playmc_1", "1").Set("playmc_2", "二");
  EXPECT_THROW(Save(meet, bad, WldfSaveSettings{}), automation::Error);
  EXPECT_EQ(meet.Dump(), before);
}

TEST(SaveRules, PlacesModeCombinedTotal) {
  Meet meet;
  Entrant e;
  e.number = "5";
  e.name = "全能五";
  e.event = "五项全能";
  e.kind = "全能";
  meet.Add(e);
  Form f("五项全能", 1, 4);
  f.Set("bsjg", "1").Set("TsJs", "全能").Blank("5").Set("playmc_5", "1").Set("playqnf_5", "3200");
  Save(meet, f, WldfSaveSettings{});
  EXPECT_EQ(Str(meet.Rows()["5"]["比赛成绩"]), "     3200");
}

TEST(SaveRules, OutOfCompetitionEntrantsKeepTheirPlaceAmongAll) {
  Meet meet;
  AddFinalists(meet, 4);
  meet.Exec("Update Play Set 编外队员=.T. Where 编号=='1'");
  WldfSaveSettings s;
  s.out_of_competition = 1;
  Form f = FinalTimes(4, 1);
  Save(meet, f, s);
  EXPECT_EQ(Places(meet, 4), (std::vector<int>{1, 1, 2, 3}));
  s.out_of_competition = 0;
  Form again = FinalTimes(4, 1);
  Save(meet, again, s);
  EXPECT_EQ(Places(meet, 4), (std::vector<int>{1, 2, 3, 4}));
}

TEST(SaveRules, SmallFieldsAwardFewerPlaces) {
  for (int n : {6, 7}) {
    Meet meet;
    AddFinalists(meet, n);
    WldfSaveSettings s;
    s.small_field = 1;
    s.small_field_size = 6;
    s.small_field_fewer = 1;
    Form f = FinalTimes(n, 1);
    Save(meet, f, s);
    auto rows = meet.Rows();
    if (n == 6) {
      EXPECT_EQ(Int(rows["6"]["比赛名次"]), 0);
      EXPECT_EQ(Num(rows["6"]["比赛得分"]), 0);
      EXPECT_EQ(Num(rows["5"]["比赛得分"]), 4);
    } else {
      EXPECT_EQ(Int(rows["6"]["比赛名次"]), 6);
      EXPECT_EQ(Num(rows["6"]["比赛得分"]), 3);
    }
  }
}

TEST(SaveRules, ACorrectedFinalMarksOnlyTheScorersOfTheCorrection) {
  Meet meet;
  AddFinalists(meet, 9);
  WldfSaveSettings s;
  Form first = FinalTimes(9, 1);  // entrant i finishes i-th: 8 scores, 9 does not
  Save(meet, first, s);
  EXPECT_TRUE(meet.Rows()["8"]["比赛晋级"].As<bool>());
  EXPECT_FALSE(meet.Rows()["9"]["比赛晋级"].As<bool>());

  // The recorder corrects entrant 8's time: now 9th, out of the points.
  Form corrected = FinalTimes(9, 1, {{8, "95"}});
  Save(meet, corrected, s);
  auto rows = meet.Rows();
  EXPECT_EQ(Int(rows["8"]["比赛名次"]), 9);
  EXPECT_EQ(Num(rows["8"]["比赛得分"]), 0);
  EXPECT_FALSE(rows["8"]["比赛晋级"].As<bool>());
  EXPECT_TRUE(rows["9"]["比赛晋级"].As<bool>());
  EXPECT_EQ(Str(rows["8"]["决赛信息"]).substr(109, 1), "F");
}

TEST(SaveRules, RecordGroupRecordsOfAnAgeGroupWithoutGroupLeaveTheMeetRecords) {
  for (const std::string group : {"", "青少年"}) {
    Meet meet;
    AddFinalists(meet, 3);
    meet.Exec("Insert Into Age (年龄组, 纪录组) Values ('甲组', '" + group + "')");
    for (const std::string record_group : {"", "青少年"})
      meet.Exec("Insert Into Record (性别, 径赛田赛, 参赛项目, 年龄组, 纪录组, 比赛成绩, 运动员) Values (.T., '径赛', "
                "'100米', '', '" + record_group + "', '    1030 ', '旧记录')");
    WldfSaveSettings s;
    s.record_flags_auto = 1;
    Form f = FinalTimes(3, 1);  // the winner runs 10.10
    f.Set("Record", "    1030 ").Set("recordType", "3");
    Save(meet, f, s);
    ASSERT_TRUE(meet.Rows()["1"]["比赛破记录"].As<bool>());
    auto records = meet.Query("Select 纪录组, 运动员 From Record Order By 纪录组");
    ASSERT_EQ(records.rows.size(), 2u);
    // The meet record (no age group, no record group) is never a record
    // group's record; the group's own record is replaced when there is one.
    EXPECT_EQ(ToUtf8(automation::Trim(records.rows[0][1].text())), "旧记录") << group;
    EXPECT_EQ(ToUtf8(automation::Trim(records.rows[1][1].text())), group.empty() ? "旧记录" : "选手1") << group;
  }
}

TEST(SaveRules, GroupedFinalRanksBlocksApart) {
  Meet meet;
  AddFinalists(meet, 6);
  WldfSaveSettings s;
  s.grouped_final = 1;
  s.grouped_blocks = u"123|456|";
  // Entrant 4 (4th in the heats) runs fastest, yet ranks after the first block.
  Form f = FinalTimes(6, 2, {{4, "05"}});
  Save(meet, f, s);
  EXPECT_EQ(Places(meet, 6), (std::vector<int>{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(Str(meet.Rows()["4"]["排序成绩"]), "100010050");
  EXPECT_EQ(Str(meet.Rows()["1"]["排序成绩"]), "000010100");
}

TEST(SaveRules, NoResultRule2FillsScoringPlacesFromTheHeats) {
  Meet meet;
  AddFinalists(meet, 5);
  meet.Exec("Update Play Set 比赛组次=0 Where Val(编号)>3");  // 4 and 5 did not reach the final
  WldfSaveSettings s;
  s.scoring_places = 3;
  s.no_result_rule = 2;
  Form f = FinalTimes(3, 2, {{1, "-"}, {2, "-"}});
  f.Blank("4").Blank("5");
  Save(meet, f, s);
  auto rows = meet.Rows();
  EXPECT_EQ(Places(meet, 5), (std::vector<int>{0, 0, 1, 2, 3}));
  EXPECT_EQ(Str(rows["4"]["比赛成绩"]), "    1104");  // the heats' result
  EXPECT_EQ(Str(rows["4"]["排序成绩"]), "999996004");
  EXPECT_EQ(Int(rows["4"]["比赛道次"]), -1);
  EXPECT_EQ(Num(rows["3"]["比赛得分"]), 9);
  EXPECT_EQ(Num(rows["4"]["比赛得分"]), 7);
  EXPECT_EQ(Num(rows["5"]["比赛得分"]), 6);
  EXPECT_EQ(Num(rows["1"]["比赛得分"]), 0);
}

TEST(SaveRules, DirectFinalIgnoresTheHeats) {
  for (bool direct : {true, false}) {
    Meet meet;
    AddFinalists(meet, 6, false);
    WldfSaveSettings s;
    s.direct_final = 1;
    s.direct_final_size = direct ? 6 : 5;
    Form f = FinalTimes(6, 2, {{2, "-"}});
    Save(meet, f, s);
    auto rows = meet.Rows();
    // A qualifier without a result: last as anyone without one in a direct
    // final, ordered by the heats' rule after a real round.
    EXPECT_EQ(Str(rows["2"]["排序成绩"]), direct ? "999999999" : "999998000") << direct;
    EXPECT_EQ(Str(rows["3"]["前赛成绩"]), direct ? "" : "    1103") << direct;
  }
}

}  // namespace
}  // namespace wldf_test
