// The entry rows and result entry fit together: the rows of a round are
// rendered with CommShowListSub, the inputs filled as a recorder fills them
// and posted under the names and values read from the rendered HTML, saved
// with CommWldfSave's procedure, and the stored results read back (and shown
// again in the inputs).
#include <gtest/gtest.h>

#include "arenix/meet/filters.h"
#include "lists_html.h"

namespace lists_test {
namespace {

using wldf_test::Entrant;
using wldf_test::Meet;
using wldf_test::Str;

// The rows of one round as the entry page renders them.
std::string RenderRound(Meet& meet, const std::string& event, int16_t places_mode, int16_t stage) {
  auto& records = OpenRows(meet, "Select * From Play Where " +
                                     ToUtf8(arenix::meet::EntryFilter(FromUtf8(event), u"甲组", u"男", u"")) +
                                     " Order By 编号");
  std::string html = "<form name=myform method=post><table>";
  int16_t row = 1;
  for (; !records.Eof(); records.MoveNext()) {
    html += ToUtf8(CallByName(u"CommShowListSub",
                              {meet.rs, Variant(int16_t{1}), Variant(places_mode), Variant(row++), Variant(stage),
                               Variant(int16_t{1}), Variant(int16_t{2}), Variant(int16_t{4}), Variant(int16_t{1}),
                               Variant(int16_t{0})})
                       .text());
  }
  records.Close();  // the page is done with its record set
  return html + "</table></form>";
}

// Posts what a browser posts for the inputs (text inputs always, a checkbox
// when ticked), with `typed` replacing the values of the inputs it names by
// their position on the page, and the page's own fields of the round.
Variant Post(const std::vector<InputTag>& inputs, const std::map<size_t, std::string>& typed,
             const std::map<size_t, bool>& ticks, const std::string& event, int stages, int stage, int places_mode) {
  auto request = std::make_shared<host::MemoryRequest>();
  std::string numbers;
  for (size_t i = 0; i < inputs.size(); ++i) {
    const InputTag& in = inputs[i];
    if (in.type == "checkbox") {
      const bool on = ticks.count(i) ? ticks.at(i) : in.checked;
      if (on) request->AddForm(FromUtf8(in.name), FromUtf8(in.value));
      continue;
    }
    request->AddForm(FromUtf8(in.name), FromUtf8(typed.count(i) ? typed.at(i) : in.value));
    // The entry number follows the first input name of each entrant.
    for (const char* first : {"playcj_1_", "playmc_"}) {
      if (in.name.rfind(first, 0) == 0) numbers += "|" + in.name.substr(std::strlen(first));
    }
  }
  for (const auto& [k, v] : std::vector<std::pair<std::string, std::string>>{
           {"item", event}, {"age", "甲组"}, {"sex", "男"}, {"scs", std::to_string(stages)},
           {"sc", std::to_string(stage)}, {"bsjg", std::to_string(places_mode)}, {"ydy_bh_list", numbers}}) {
    request->AddForm(FromUtf8(k), FromUtf8(v));
  }
  return Variant(automation::ObjectPtr(request));
}

void SaveWithForm(Meet& meet, Variant request) {
  Variant points = wldf_test::Points({9, 7, 6, 5, 4, 3, 2, 1});
  Variant grades = wldf_test::Points({0, 0, 0, 0, 0, 0});
  arenix::meet::WldfSave(request, meet.conn, meet.rs, arenix::meet::WldfSaveSettings{}, points, grades);
}

TEST(ListsSave, TypedTimesAndMarksAreStoredAndShownAgain) {
  Meet meet;
  for (const char* n : {"1", "2", "3"}) {
    Entrant e;
    e.number = n;
    e.name = std::string("选手") + n;
    meet.Add(e);
    e.event = "跳远";
    e.kind = "田赛";
    e.number = std::string("3") + n;
    meet.Add(e);
  }
  meet.AddRound("100米", "决赛");
  meet.AddRound("跳远", "决赛");

  // 100 m: three inputs per entrant (minutes, seconds, hundredths).
  const auto run = ReadInputs(RenderRound(meet, "100米", 0, 4));
  ASSERT_EQ(run.size(), 9u);
  EXPECT_EQ(run[4].name, "playcj_2_2");
  SaveWithForm(meet, Post(run, {{1, "10"}, {2, "50"}, {3, "1"}, {4, "11"}, {5, "5"}, {7, "9"}, {8, "87"}}, {},
                          "100米", 1, 4, 0));
  auto rows = meet.Rows();
  EXPECT_EQ(Str(rows["1"]["比赛成绩"]), "    1050");
  EXPECT_EQ(Str(rows["2"]["比赛成绩"]), "   1115");
  EXPECT_EQ(Str(rows["3"]["比赛成绩"]), "     987");
  EXPECT_EQ(wldf_test::Int(rows["3"]["比赛名次"]), 1);
  EXPECT_EQ(wldf_test::Int(rows["1"]["比赛名次"]), 2);
  EXPECT_EQ(wldf_test::Int(rows["2"]["比赛名次"]), 3);
  const auto again = ReadInputs(RenderRound(meet, "100米", 0, 4));
  std::vector<std::string> shown;
  for (const auto& in : again) shown.push_back(in.value);
  EXPECT_EQ(shown, (std::vector<std::string>{"  ", "10", "50", " 1", "11", "5 ", "  ", " 9", "87"}));

  // Long jump: metres and centimetres.
  const auto jump = ReadInputs(RenderRound(meet, "跳远", 0, 4));
  ASSERT_EQ(jump.size(), 6u);
  EXPECT_EQ(jump[0].name, "playcj_1_31");
  SaveWithForm(meet, Post(jump, {{0, "7"}, {1, "12"}, {2, "6"}, {3, "9"}}, {}, "跳远", 1, 4, 0));
  rows = meet.Rows();
  EXPECT_EQ(Str(rows["31"]["比赛成绩"]), "     712");
  EXPECT_EQ(Str(rows["32"]["比赛成绩"]), "     69");
  EXPECT_EQ(Str(rows["31"]["排序成绩"]), "000007120");
  EXPECT_EQ(wldf_test::Int(rows["31"]["比赛名次"]), 1);
}

TEST(ListsSave, PlacesPointsAndRecordBoxesAreStored) {
  Meet meet;
  for (const char* n : {"1", "2"}) {
    Entrant e;
    e.number = n;
    e.name = std::string("选手") + n;
    meet.Add(e);
  }
  meet.AddRound("100米", "决赛");
  const auto inputs = ReadInputs(RenderRound(meet, "100米", 1, 4));
  // Per entrant: place, heat place, points, record box.
  ASSERT_EQ(inputs.size(), 8u);
  EXPECT_EQ(inputs[3].type, "checkbox");
  EXPECT_EQ(inputs[3].name, "playpjl_1");
  SaveWithForm(meet, Post(inputs, {{0, "2"}, {1, "2"}, {2, "7"}, {4, "1"}, {5, "1"}, {6, "13"}}, {{7, true}},
                          "100米", 1, 4, 1));
  auto rows = meet.Rows();
  EXPECT_EQ(wldf_test::Int(rows["1"]["比赛名次"]), 2);
  EXPECT_EQ(wldf_test::Num(rows["1"]["比赛得分"]), 7);
  EXPECT_FALSE(rows["1"]["比赛破记录"].As<bool>());
  EXPECT_EQ(wldf_test::Int(rows["2"]["比赛名次"]), 1);
  EXPECT_EQ(wldf_test::Num(rows["2"]["比赛得分"]), 13);
  EXPECT_TRUE(rows["2"]["比赛破记录"].As<bool>());
  // Shown again: the box of entrant 2 is ticked.
  const auto again = ReadInputs(RenderRound(meet, "100米", 1, 4));
  EXPECT_FALSE(again[3].checked);
  EXPECT_TRUE(again[7].checked);
  EXPECT_EQ(again[6].value, "13");
}

}  // namespace
}  // namespace lists_test
