// Points and seeding go only to those who earned them: out-of-competition
// entrants score nothing and never dilute a tie, an entrant without a
// valid result neither scores nor advances, a round is seeded only once
// every heat has results, and no heat holds more entrants than lanes.
#include <gtest/gtest.h>

#include <set>

#include "automation/clock.h"
#include "result_entry_meet.h"

namespace wldf_test {
namespace {

using arenix::meet::WldfSaveSettings;

void AddRunners(Meet& meet, int n, int heats = 1) {
  for (int i = 1; i <= n; ++i) {
    Entrant e;
    e.number = std::to_string(i);
    e.name = "选手" + e.number;
    e.heat = (i - 1) % heats + 1;
    e.lane = (i - 1) / heats + 1;
    meet.Add(e);
  }
}

// Entrant i runs 10 seconds and i hundredths, unless listed as blank.
Form Times(int n, int stages, int stage, const std::set<int>& blank = {}) {
  Form f("100米", stages, stage);
  f.Set("TsJs", "径赛");
  for (int i = 1; i <= n; ++i) {
    if (blank.count(i))
      f.Blank(std::to_string(i));
    else
      f.Time(std::to_string(i), "10", (i < 10 ? "0" : "") + std::to_string(i));
  }
  return f;
}

std::map<std::string, double> PointsOf(Meet& meet) {
  std::map<std::string, double> out;
  for (auto& [n, r] : meet.Rows()) out[n] = Num(r["比赛得分"]);
  return out;
}

TEST(Fairness, OutOfCompetitionEntrantsTakeNoPoints) {
  Meet meet;
  AddRunners(meet, 9);
  meet.Exec("Update Play Set 编外队员=.T. Where 编号=='1' Or 编号=='5'");
  WldfSaveSettings s;
  s.out_of_competition = 1;
  s.record_flags_auto = 1;
  s.record_points = 2;
  Form f = Times(9, 1, 4);
  f.Set("Record", "000010030");  // 10.03: entrants 1 and 2 break it
  Save(meet, f, s);
  auto rows = meet.Rows();
  // Guests keep their place among all; officials are placed among officials.
  EXPECT_EQ(Int(rows["1"]["比赛名次"]), 1);
  EXPECT_EQ(Int(rows["5"]["比赛名次"]), 5);
  EXPECT_EQ(Int(rows["2"]["比赛名次"]), 1);
  EXPECT_EQ(Int(rows["7"]["比赛名次"]), 5);
  // The officials' points are the table over the official places (plus the
  // record), the guests' nothing; no place is shared with a guest.
  const std::map<std::string, double> expected = {{"1", 0}, {"2", 9 + 2}, {"3", 7}, {"4", 6}, {"5", 0},
                                                  {"6", 5},  {"7", 4},      {"8", 3}, {"9", 2}};
  EXPECT_EQ(PointsOf(meet), expected);
  EXPECT_FALSE(rows["1"]["比赛晋级"].As<bool>());
}

TEST(Fairness, NoValidResultNoPointsWhateverTheRule) {
  Meet meet;
  AddRunners(meet, 8);
  meet.Exec("Update Play Set 比赛检录='弃权' Where 编号=='5'");
  Form f = Times(8, 1, 4, {3});
  Save(meet, f, WldfSaveSettings{});  // rule 1: the blank keeps its rank order
  auto points = PointsOf(meet);
  EXPECT_EQ(points["3"], 0);
  EXPECT_EQ(points["5"], 0);
  EXPECT_EQ(points["1"], 9);
  EXPECT_EQ(points["6"], 4);  // fifth: the scratched fourth keeps its place, not its points
  EXPECT_EQ(points["8"], 2);
}

// Two heats of six, seeded by the meet's settings into a final of 8.
TEST(Fairness, NoSeedingUntilEveryHeatHasResults) {
  Meet meet;
  AddRunners(meet, 12, 2);  // odd numbers in heat 1, even in heat 2
  meet.Add(Entrant{"99", "别组", "一队", "100米", "", "甲组", true, "径赛", true, false, 0});
  WldfSaveSettings s;
  s.several_heats = 2;
  s.lane_order = u"45362718";
  std::set<int> heat2;
  for (int i = 2; i <= 12; i += 2) heat2.insert(i);
  Form first = Times(12, 2, 1, heat2);
  Variant points = Points({9, 7, 6, 5, 4, 3, 2, 1}), grades = Points({0, 0, 0, 0, 0, 0});
  Variant request = first.Request();
  const std::string notice =
      ToUtf8(arenix::meet::WldfSave(request, meet.conn, meet.rs, s, points, grades));
  EXPECT_NE(notice.find("第2组还没有成绩"), std::string::npos) << notice;
  for (auto& [n, r] : meet.Rows()) {
    EXPECT_FALSE(r["比赛晋级"].As<bool>()) << n;
    EXPECT_EQ(Int(r["后赛组次"]), 0) << n;
  }
  EXPECT_EQ(Str(meet.Rows()["1"]["预赛信息"]).substr(18, 9), "    1001 ");  // heat 1 itself is saved

  // Heat 2 entered, entrant 12 without a time: the 8 fastest with a time.
  Form both = Times(12, 2, 1, {12});
  request = both.Request();
  EXPECT_EQ(ToUtf8(arenix::meet::WldfSave(request, meet.conn, meet.rs, s, points, grades)), "");
  std::set<std::string> qualified;
  for (auto& [n, r] : meet.Rows())
    if (r["比赛晋级"].As<bool>()) {
      qualified.insert(n);
      EXPECT_GE(Int(r["后赛道次"]), 1) << n;
      EXPECT_LE(Int(r["后赛道次"]), 8) << n;
    }
  EXPECT_EQ(qualified, (std::set<std::string>{"1", "2", "3", "4", "5", "6", "7", "8"}));
}

// The stage plan of the sample meet: 2 heats, 4 by place and 4 by time,
// 12 qualifiers for an 8-lane track.
void AddPlanned(Meet& meet) {
  AddRunners(meet, 16, 2);
  meet.Exec("Insert Into Age (年龄组, 流水号) Values ('甲组', 1)");
  meet.Exec("Insert Into Item (参赛项目, 男赛次信息, 女赛次信息) Values ('100米', '2024400000000', '')");
}

TEST(Fairness, APlannedRoundNeverHoldsMoreThanTheLanes) {
  for (int several : {2, 1}) {
    automation::ScopedClock clock(std::nullopt, 3);
    Meet meet;
    AddPlanned(meet);
    WldfSaveSettings s;
    s.stage_plans = 1;
    s.several_heats = several;
    Form f = Times(16, 2, 1, {16});
    Variant points = Points({9, 7, 6, 5, 4, 3, 2, 1}), grades = Points({0, 0, 0, 0, 0, 0});
    Variant request = f.Request();
    const std::string notice = ToUtf8(arenix::meet::WldfSave(request, meet.conn, meet.rs, s, points, grades));
    std::map<int, std::set<int>> lanes;  // heat -> lanes
    int qualified = 0;
    for (auto& [n, r] : meet.Rows())
      if (r["比赛晋级"].As<bool>()) {
        ++qualified;
        EXPECT_NE(n, "16");  // no time, no place in the final
        const int lane = Int(r["后赛道次"]);
        EXPECT_GE(lane, 1) << n;
        EXPECT_LE(lane, 8) << n;
        EXPECT_TRUE(lanes[Int(r["后赛组次"])].insert(lane).second) << n << " shares a lane";
      }
    if (several == 2) {
      EXPECT_EQ(qualified, 12);
      EXPECT_EQ(lanes.size(), 2u);
      EXPECT_EQ(notice, "");
    } else {
      EXPECT_EQ(qualified, 8);  // one heat: the four slowest qualifiers get no lane
      EXPECT_EQ(lanes.size(), 1u);
      EXPECT_NE(notice.find("未排道次"), std::string::npos) << notice;
      EXPECT_NE(notice.find("选手"), std::string::npos) << notice;
    }
  }
}

}  // namespace
}  // namespace wldf_test
