// A round corrected after the round it seeds has been run: the seeding is
// done again, entrants who still qualify keep what they did in the next
// round, and the recorder is told who came in and who went out.
#include <gtest/gtest.h>

#include "arenix/meet/stage_field.h"
#include "result_entry_meet.h"

namespace wldf_test {
namespace {

using arenix::meet::WldfSaveSettings;

WldfSaveSettings Settings() {
  WldfSaveSettings s;
  s.lanes = 8;
  s.lane_order = u"45362718";
  s.several_heats = 2;
  s.scoring_places = 8;
  return s;
}

// 16 sprinters in two heats of 8; number i runs 10.(10+i) unless `changed`
// gives another time (hundredths).
Form Heats(const std::map<int, int>& changed = {}) {
  Form f("100米", 2, 1);
  for (int i = 1; i <= 16; ++i) {
    const int h = changed.count(i) ? changed.at(i) : 10 + i;
    f.Time(std::to_string(i), "10", (h < 10 ? "0" : "") + std::to_string(h));
  }
  return f;
}

std::string SaveForm(Meet& meet, Form& form) {
  Variant request = form.Request();
  Variant points = Points({9, 7, 6, 5, 4, 3, 2, 1}), grades = Points({0, 0, 0, 0, 0, 0});
  return ToUtf8(arenix::meet::WldfSave(request, meet.conn, meet.rs, Settings(), points, grades));
}

// The heats saved, the final unpacked as the entry page unpacks it and
// saved with 11.0x for the finalists 1-8.
void HeatsAndFinalRun(Meet& meet) {
  for (int i = 1; i <= 16; ++i) {
    Entrant e;
    e.number = std::to_string(i);
    e.name = "选手" + e.number;
    e.heat = i <= 8 ? 1 : 2;
    e.lane = (i - 1) % 8 + 1;
    arenix::meet::StageColumns heats;
    heats.order = e.heat * 100 + e.lane;
    heats.heat = e.heat;
    heats.lane = e.lane;
    heats.heat_info = u"002016";
    e.heats_field = ToUtf8(arenix::meet::PackStageField(heats));
    meet.Add(e);
  }
  meet.AddRound("100米", "预赛");
  meet.AddRound("100米", "决赛");
  Form heats = Heats();
  SaveForm(meet, heats);
  meet.Exec("Update Play Set " + ToUtf8(arenix::meet::StageFieldUnpackSet(u"决赛信息")));
  Form final_form("100米", 2, 4);
  for (int i = 1; i <= 8; ++i) final_form.Time(std::to_string(i), "11", "0" + std::to_string(i));
  SaveForm(meet, final_form);
}

// The final's field of the finalists 1-8.
std::map<std::string, std::string> FinalFields(Meet& meet) {
  std::map<std::string, std::string> out;
  for (auto& [number, row] : meet.Rows("Val(编号)<=8")) out[number] = Str(row["决赛信息"]);
  return out;
}

// A correction of the heats, saved from the heats as the entry page
// opens them.
std::string Correct(Meet& meet, const std::map<int, int>& changed) {
  meet.Exec("Update Play Set " + ToUtf8(arenix::meet::StageFieldUnpackSet(u"预赛信息")));
  Form form = Heats(changed);
  return SaveForm(meet, form);
}

TEST(Correction, AHeatsCorrectionKeepsTheFinalOfThoseStillIn) {
  Meet meet;
  HeatsAndFinalRun(meet);
  const auto final_before = FinalFields(meet);
  ASSERT_EQ(arenix::meet::UnpackStageField(automation::FromUtf8(final_before.at("3"))).result, u"    1103 ");

  // A typing error in the heats that changes nobody's qualification: the
  // final stays exactly as it was run.
  EXPECT_EQ(Correct(meet, {{1, 12}}), "");
  EXPECT_EQ(FinalFields(meet), final_before);

  // Number 9 was faster than typed and now qualifies; number 8 drops out.
  const std::string notice = Correct(meet, {{1, 12}, {9, 5}});
  EXPECT_NE(notice.find("新晋级决赛：9 选手9"), std::string::npos) << notice;
  EXPECT_NE(notice.find("不再晋级决赛：8 选手8"), std::string::npos) << notice;
  const auto final_after = FinalFields(meet);
  for (int i = 1; i <= 7; ++i)
    EXPECT_EQ(final_after.at(std::to_string(i)), final_before.at(std::to_string(i))) << i;
  const auto in9 = arenix::meet::UnpackStageField(automation::FromUtf8(Str(meet.Rows()["9"]["决赛信息"])));
  EXPECT_GT(in9.heat, 0);
  EXPECT_EQ(automation::Trim(in9.result), u"");
  const auto out8 = arenix::meet::UnpackStageField(automation::FromUtf8(final_after.at("8")));
  EXPECT_EQ(out8.heat, 0);
  EXPECT_EQ(automation::Trim(out8.result), u"");
  // The final is still marked as entered.
  EXPECT_EQ(meet.Query("Select 比赛状态 From PlaySour Where 赛次名称='决赛'").rows[0][0], Variant(true));
}

}  // namespace
}  // namespace wldf_test
