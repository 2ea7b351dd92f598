// Bad input to a save: what is typed is stored as the layout keeps it,
// what names no entrant touches nothing, a bad stage stops the save before
// it writes, and no row of another event changes.
#include <gtest/gtest.h>

#include <filesystem>

#include "wldf_meet.h"

namespace wldf_test {
namespace {

using arenix::meet::WldfSaveSettings;

void AddEvent(Meet& meet, const std::string& event, bool men, int n) {
  for (int i = 1; i <= n; ++i) {
    Entrant e;
    e.number = std::to_string(i);
    e.name = event + e.number;
    e.event = event;
    e.men = men;
    meet.Add(e);
  }
}

std::string Others(Meet& meet) {
  std::string s;
  for (auto& [n, r] : meet.Rows("Not (参赛项目=='100米' And 性别)"))
    for (auto& [c, v] : r) s += n + c + Str(v) + ";";
  return s;
}

TEST(BadInput, TypedTextIsKeptAsTheLayoutKeepsIt) {
  Meet meet;
  AddEvent(meet, "100米", true, 4);
  AddEvent(meet, "100米", false, 2);  // the women's race
  AddEvent(meet, "200米", true, 2);
  const std::string others = Others(meet);
  const std::string men = "参赛项目=='100米' And 性别";
  const std::string untouched = Str(meet.Rows(men)["3"]["决赛信息"]);

  Form f("100米", 1, 4);
  f.Time("1", "1a", "b");                 // letters stay as typed
  f.Time("2", "456", "789", "123");       // too long: right slots keep the right end, left the left
  f.Set("ydy_bh_list_extra", "");
  f.Blank("99");                          // not an entrant
  f.Blank("3' Or '1'='1");                // a quote cannot widen the statement
  f.Time("4", "12", "34");
  WldfSaveSettings s;
  s.record_flags_auto = 1;
  f.Set("Record", "         ");           // a record value of blanks: no record broken
  Save(meet, f, s);

  auto rows = meet.Rows(men);
  EXPECT_EQ(Str(rows["1"]["比赛成绩"]), "    1ab");
  EXPECT_EQ(Str(rows["1"]["排序成绩"]), "00001ab00");
  EXPECT_EQ(Str(rows["2"]["比赛成绩"]), "  235678");
  EXPECT_EQ(Str(rows["4"]["比赛成绩"]), "    1234");
  EXPECT_EQ(Int(rows["4"]["比赛名次"]), 1);
  EXPECT_EQ(Int(rows["2"]["比赛名次"]), 3);
  EXPECT_FALSE(rows["4"]["比赛破记录"].As<bool>());
  // Entrant 3 was in no list entry: its result stays empty, ranked last.
  EXPECT_EQ(Str(rows["3"]["排序成绩"]), "999999999");
  EXPECT_NE(Str(rows["3"]["决赛信息"]), untouched);  // packed like everyone of the round
  EXPECT_EQ(Others(meet), others);
}

TEST(BadInput, EmptyEntryNumbersNameNobody) {
  Meet meet;
  AddEvent(meet, "100米", true, 2);
  meet.Exec("Update Play Set 编号='' Where 编号=='2'");  // a row without a number
  Form f("100米", 1, 4);
  f.Blank("").Time("1", "11", "00").Blank("");
  f.Set("playmc_", "1");
  Save(meet, f, WldfSaveSettings{});
  auto rows = meet.Query("Select 比赛成绩 From Play Where Len(AllTrim(编号))=0");
  EXPECT_EQ(Str(rows.rows[0][0]), "         ");
}

TEST(BadInput, StageOutsideOneToFourStopsBeforeWriting) {
  Meet meet;
  AddEvent(meet, "100米", true, 2);
  const std::string before = meet.Dump();
  for (const char* stage : {"0", "5", "-1", "abc"}) {
    Form f("100米", 2, 1);
    f.Set("sc", stage).Time("1", "11", "00");
    try {
      Save(meet, f, WldfSaveSettings{});
      ADD_FAILURE() << stage;
    } catch (const automation::Error& e) {
      EXPECT_EQ(e.number(), 5);
      EXPECT_NE(ToUtf8(e.description()).find("赛次"), std::string::npos);
    }
  }
  // A round an event of 3 rounds does not have cannot seed a next one.
  Form second("100米", 3, 2);
  second.Time("1", "11", "00");
  EXPECT_THROW(Save(meet, second, WldfSaveSettings{}), automation::Error);
  EXPECT_EQ(meet.Dump(), before);
}

TEST(BadInput, APlaceTooLargeForItsColumnStopsBeforeWriting) {
  Meet meet;
  AddEvent(meet, "100米", true, 3);
  const std::string before = meet.Dump();
  for (const char* place : {"99999999999", "1e300", "-3000000000"}) {
    Form f("100米", 1, 4);
    f.Set("bsjg", "1").Blank("1").Blank("2");
    f.Set("playmc_1", "2").Set("playmc_2", place);
    try {
      Save(meet, f, WldfSaveSettings{});
      ADD_FAILURE() << place;
    } catch (const automation::Error& e) {
      EXPECT_EQ(e.number(), 5) << place;
      EXPECT_NE(ToUtf8(e.description()).find("名次"), std::string::npos) << place;
    }
    EXPECT_EQ(meet.Dump(), before) << place;  // entrant 1's place not written either
  }
}

TEST(BadInput, QuotedNamesAreStoredAsTyped) {
  Meet meet;
  AddEvent(meet, "O''Neil杯", true, 2);  // the event O'Neil杯
  Form f("O'Neil杯", 1, 4);
  f.Time("1", "11", "00").Time("2", "10", "90");
  Save(meet, f, WldfSaveSettings{});
  auto rows = meet.Rows();
  EXPECT_EQ(Int(rows["2"]["比赛名次"]), 1);
  EXPECT_EQ(Int(rows["1"]["比赛名次"]), 2);
}

TEST(BadInput, ARejectedStatementUndoesTheWholeSave) {
  Meet meet;
  AddEvent(meet, "100米", true, 2);
  const std::string before = meet.Dump();
  // The stage status is the save's last write: a missing table fails it
  // after the places and the stage field were written, and they are undone.
  std::filesystem::remove(meet.folder() + "/PlaySour.dbf");
  Form f("100米", 1, 4);
  f.Time("1", "11", "00").Time("2", "10", "90");
  EXPECT_THROW(Save(meet, f, WldfSaveSettings{}), automation::Error);
  EXPECT_EQ(meet.Dump(), before);
}

}  // namespace
}  // namespace wldf_test
