// A field event over two rounds: the top group of the first round jumps
// again in reversed order, the rest keep their mark and rank below every
// real mark of the final.
#include <gtest/gtest.h>

#include "arenix/meet/stage_field.h"
#include "result_entry_meet.h"

namespace wldf_test {
namespace {

using arenix::meet::WldfSaveSettings;

WldfSaveSettings JumpSettings() {
  WldfSaveSettings s;
  s.field_group = 8;      // the top group jumps on
  s.scoring_places = 10;  // places that count
  s.reverse_field = 1;    // best last
  return s;
}

TEST(FieldEvent, TopGroupReversedAndEliminatedBelowEveryMark) {
  Meet meet;
  for (int i = 1; i <= 10; ++i) {
    Entrant e;
    e.number = std::to_string(100 + i);
    e.name = "跳者" + std::to_string(i);
    e.event = "跳远";
    e.kind = "田赛";
    e.in_lanes = false;
    e.lane = i;
    meet.Add(e);
  }
  // First round: 101 jumps 7.10, 102 7.00, ... 110 6.20.
  Form heats("跳远", 2, 1);
  for (int i = 1; i <= 10; ++i) {
    const int cm = 710 - (i - 1) * 10;
    heats.Mark(std::to_string(100 + i), std::to_string(cm / 100), std::to_string(cm % 100 / 10) + "0");
  }
  Save(meet, heats, JumpSettings());

  auto rows = meet.Rows();
  EXPECT_EQ(Str(rows["101"]["比赛成绩"]), "     710");
  EXPECT_EQ(Str(rows["101"]["排序成绩"]), "000007100");
  EXPECT_EQ(Int(rows["101"]["比赛名次"]), 1);  // descending: the longest first
  EXPECT_EQ(Int(rows["110"]["比赛名次"]), 10);
  // One group of the top 8 in reversed order: the best jumps last.
  EXPECT_EQ(Int(rows["101"]["后赛道次"]), 10);
  EXPECT_EQ(Int(rows["108"]["后赛道次"]), 3);
  EXPECT_EQ(Str(rows["101"]["后赛组人数"]), "001008");
  // 9th and 10th go on without a position, keeping mark and place.
  EXPECT_EQ(Int(rows["109"]["后赛道次"]), -1);
  EXPECT_EQ(Int(rows["109"]["后赛序号"]), 119);
  EXPECT_EQ(Str(rows["109"]["前赛成绩"]), "     630");
  EXPECT_EQ(Int(rows["109"]["前赛名次"]), 9);
  auto carried = arenix::meet::UnpackStageField(rows["109"]["决赛信息"].text());
  EXPECT_EQ(carried.result, u"     630 ");
  EXPECT_EQ(carried.place, 9);
  EXPECT_EQ(carried.lane, -1);
  auto jumper = arenix::meet::UnpackStageField(rows["101"]["决赛信息"].text());
  EXPECT_EQ(jumper.result, u"         ");
  EXPECT_EQ(jumper.order, 110);

  // The final: the top group jumps again, 103 records no mark.
  meet.Exec("Update Play Set " + ToUtf8(arenix::meet::StageFieldUnpackSet(u"决赛信息")));
  Form final_form("跳远", 2, 4);
  final_form.Mark("101", "7", "20").Mark("102", "7", "30").Blank("103").Mark("104", "6", "90");
  final_form.Mark("105", "6", "80").Mark("106", "6", "70").Mark("107", "6", "60").Mark("108", "6", "50");
  final_form.Blank("109").Blank("110");
  Save(meet, final_form, JumpSettings());

  rows = meet.Rows();
  const std::vector<std::pair<std::string, std::string>> keys = {
      {"102", "000007300"}, {"101", "000007200"}, {"104", "000006900"}, {"108", "000006500"},
      {"109", "000000011"},  // eliminated: 10 - 9 + 10
      {"110", "000000010"},
      {"103", "000000007"},  // qualified, no mark: 10 - 3
  };
  for (const auto& [number, key] : keys) EXPECT_EQ(Str(rows[number]["排序成绩"]), key) << number;
  EXPECT_EQ(Int(rows["102"]["比赛名次"]), 1);
  EXPECT_EQ(Int(rows["108"]["比赛名次"]), 7);
  EXPECT_EQ(Int(rows["109"]["比赛名次"]), 8);
  EXPECT_EQ(Int(rows["110"]["比赛名次"]), 9);
  EXPECT_EQ(Int(rows["103"]["比赛名次"]), 10);
}

}  // namespace
}  // namespace wldf_test
