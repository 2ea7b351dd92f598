// Seeding by the event's stage plan: qualifiers by place in heat and by
// time, serpentine heats and lanes drawn by tiers, with a fixed seed.
#include <gtest/gtest.h>

#include <set>

#include "automation/clock.h"
#include "result_entry_meet.h"

namespace wldf_test {
namespace {

using arenix::meet::WldfSaveSettings;

// 32 sprinters in 4 heats (entrant i runs in heat (i-1) % 4 + 1); heat 4
// is a second slower, so its best three qualify by place only.
void AddHeats(Meet& meet, const std::string& plan) {
  for (int i = 1; i <= 32; ++i) {
    Entrant e;
    e.number = std::to_string(i);
    e.name = "选手" + e.number;
    e.heat = (i - 1) % 4 + 1;
    meet.Add(e);
  }
  meet.Exec("Insert Into Age (年龄组, 流水号) Values ('乙组', 1)");
  meet.Exec("Insert Into Age (年龄组, 流水号) Values ('甲组', 2)");
  meet.Exec("Insert Into Item (参赛项目, 男赛次信息, 女赛次信息) Values ('100米', '" + plan + "', '')");
}

Form HeatsForm() {
  Form f("100米", 2, 1);
  for (int i = 1; i <= 32; ++i) {
    const int hundredths = i * 3 + ((i - 1) % 4 == 3 ? 100 : 0);
    f.Time(std::to_string(i), std::to_string(10 + hundredths / 100), std::to_string(hundredths % 100 + 100).substr(1));
  }
  return f;
}

WldfSaveSettings PlanSettings() {
  WldfSaveSettings s;
  s.stage_plans = 1;
  s.scoring_places = 8;
  return s;
}

// The age group 甲组 is the second block: 2 stages; heats: 4 heats, the
// first 3 of each and 4 more by time.
const std::string kPlan = std::string("1080200000000") + "2043400000000";

std::map<std::string, std::pair<int, int>> SeedAt(uint32_t seed) {
  automation::ScopedClock clock(std::nullopt, seed);
  Meet meet;
  AddHeats(meet, kPlan);
  Form form = HeatsForm();
  Save(meet, form, PlanSettings());
  std::map<std::string, std::pair<int, int>> out;
  for (auto& [number, r] : meet.Rows()) out[number] = {Int(r["后赛组次"]), Int(r["后赛道次"])};
  return out;
}

TEST(StagePlan, HeatsByPlaceAndTimeDrawnByTiers) {
  automation::ScopedClock clock(std::nullopt, 11);
  Meet meet;
  AddHeats(meet, kPlan);
  Form form = HeatsForm();
  Save(meet, form, PlanSettings());
  auto rows = meet.Rows();

  // Qualifiers: the best 3 of every heat (4, 8, 12 from the slow heat) and
  // the 13 fastest overall, 16 in all.
  const std::set<int> qualified = {1, 2, 3, 5, 6, 7, 9, 10, 11, 13, 14, 15, 17, 4, 8, 12};
  std::map<int, std::vector<int>> heats;  // heat -> places of its members
  for (int i = 1; i <= 32; ++i) {
    auto& r = rows[std::to_string(i)];
    EXPECT_EQ(r["比赛晋级"].As<bool>(), qualified.count(i) == 1) << i;
    if (!qualified.count(i)) {
      EXPECT_EQ(Int(r["后赛组次"]), 0) << i;
      EXPECT_EQ(Int(r["后赛道次"]), -1) << i;
      continue;
    }
    const int place = Int(r["比赛名次"]), heat = Int(r["后赛组次"]), lane = Int(r["后赛道次"]);
    heats[heat].push_back(place);
    EXPECT_EQ(Int(r["后赛序号"]), heat * 100 + lane) << i;
    EXPECT_EQ(Str(r["后赛组人数"]), "002016");
    EXPECT_EQ(Str(r["决赛信息"]).substr(0, 18).substr(12), "002016");
  }
  ASSERT_EQ(heats.size(), 2u);  // 16 qualifiers: two heats of 8
  for (auto& [heat, places] : heats) EXPECT_EQ(places.size(), 8u) << heat;

  // The 16 qualifiers in place order walk the heats 1 2 2 1 1 2 2 1 ...:
  // each heat gets one of every tier (pair of places), the best four tiers
  // draw lanes 3-6, the next two 7-8, the last two 1-2.
  std::vector<std::pair<int, std::string>> by_place;
  for (int i : qualified) by_place.push_back({Int(rows[std::to_string(i)]["比赛名次"]), std::to_string(i)});
  std::sort(by_place.begin(), by_place.end());
  for (size_t k = 0; k < by_place.size(); k += 2) {
    auto& a = rows[by_place[k].second];
    auto& b = rows[by_place[k + 1].second];
    EXPECT_NE(Int(a["后赛组次"]), Int(b["后赛组次"])) << "tier " << k / 2 + 1;
    const std::set<int> allowed = k < 8 ? std::set<int>{3, 4, 5, 6} : k < 12 ? std::set<int>{7, 8} : std::set<int>{1, 2};
    EXPECT_TRUE(allowed.count(Int(a["后赛道次"]))) << by_place[k].second;
    EXPECT_TRUE(allowed.count(Int(b["后赛道次"]))) << by_place[k + 1].second;
  }
  for (int heat : {1, 2}) {
    std::set<int> lanes;
    for (auto& [n, r] : rows)
      if (r["比赛晋级"].As<bool>() && Int(r["后赛组次"]) == heat) lanes.insert(Int(r["后赛道次"]));
    EXPECT_EQ(lanes, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8})) << heat;
  }

  // A fixed seed gives a fixed draw; another seed another one.
  EXPECT_EQ(SeedAt(5), SeedAt(5));
  bool differs = false;
  for (uint32_t seed = 6; seed < 12 && !differs; ++seed) differs = SeedAt(seed) != SeedAt(5);
  EXPECT_TRUE(differs);
}

TEST(StagePlan, OneStageForTheAgeGroupSeedsByTheMeetSettings) {
  Meet meet;
  AddHeats(meet, std::string("2043400000000") + "1000000000000");
  Form form = HeatsForm();
  WldfSaveSettings s = PlanSettings();
  s.lane_order = u"45362718";
  Save(meet, form, s);
  auto rows = meet.Rows();
  // The meet's seeding: the 8 best in one heat, in the lane order.
  EXPECT_EQ(Int(rows["1"]["后赛道次"]), 4);
  EXPECT_EQ(Int(rows["2"]["后赛道次"]), 5);
  EXPECT_EQ(Str(rows["1"]["后赛组人数"]), "001008");
  EXPECT_FALSE(rows["4"]["比赛晋级"].As<bool>());  // slow heat: no place-in-heat rule here
}

}  // namespace
}  // namespace wldf_test
