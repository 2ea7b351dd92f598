// Bad input to a save: what is typed is stored as the layout keeps it,
// what names no entrant touches nothing, a bad stage stops the save before
// it writes, and no row of another event changes.
#include <gtest/gtest.h>

#include <filesystem>

#include "result_entry_meet.h"

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

TEST(BadInput, WhatNamesNoEntrantTouchesNothing) {
  Meet meet;
  AddEvent(meet, "100米", true, 4);
  AddEvent(meet, "100米", false, 2);  // the women's race
  AddEvent(meet, "200米", true, 2);
  const std::string others = Others(meet);
  const std::string men = "参赛项目=='100米' And 性别";
  const std::string untouched = Str(meet.Rows(men)["3"]["决赛信息"]);

  Form f("100米", 1, 4);
  f.Time("1", "11", "5");
  f.Set("ydy_bh_list_extra", "");
  f.Blank("99");                          // not an entrant
  f.Blank("3' Or '1'='1");                // a quote cannot widen the statement
  f.Time("4", "12", "34");
  WldfSaveSettings s;
  s.record_flags_auto = 1;
  f.Set("Record", "         ");           // a record value of blanks: no record broken
  Save(meet, f, s);

  auto rows = meet.Rows(men);
  EXPECT_EQ(Str(rows["1"]["比赛成绩"]), "    115");
  EXPECT_EQ(Str(rows["1"]["排序成绩"]), "000011500");
  EXPECT_EQ(Int(rows["1"]["比赛名次"]), 1);
  EXPECT_EQ(Int(rows["4"]["比赛名次"]), 2);
  EXPECT_FALSE(rows["4"]["比赛破记录"].As<bool>());
  // Entrant 3 was in no list entry: its result stays empty, ranked last.
  EXPECT_EQ(Str(rows["3"]["排序成绩"]), "999999999");
  EXPECT_NE(Str(rows["3"]["决赛信息"]), untouched);  // packed like everyone of the round
  EXPECT_EQ(Others(meet), others);
}

// Every bad mark stops the save before its first statement, with a message
// that names the entrant, the field and the rule.
TEST(BadInput, BadMarksAreRefusedBeforeAnythingIsStored) {
  struct Case {
    const char* kind;
    int time_style;
    std::vector<std::string> parts;  // playcj_1_ .. playcj_4_ of entrant 2
    const char* field;
    const char* rule;
  };
  const std::vector<Case> cases = {
      {"径赛", 1, {"", "75", "00"}, "秒", "应小于60"},
      {"径赛", 1, {"4", "-5", "00"}, "秒", "不是数字"},
      {"径赛", 1, {"4", "ab", "00"}, "秒", "不是数字"},
      {"径赛", 1, {"99", "59", "00"}, "分", "应小于60"},
      {"径赛", 1, {"4", "59", "999"}, "百分秒", "超过2位"},
      {"径赛", 1, {"4", "", "10"}, "秒", "没有填写"},
      {"径赛", 1, {"4", "1.5", ""}, "秒", "不是数字"},
      {"径赛", 1, {"", "１２", "3a"}, "百分秒", "不是数字"},
      {"径赛", 2, {"1", "60", "00", "0"}, "分", "应小于60"},
      {"径赛", 2, {"1", "", "30", "0"}, "分", "没有填写"},
      {"田赛", 1, {"7", "123"}, "厘米", "超过2位"},
      {"田赛", 1, {"1e1", "00"}, "米", "不是数字"},
      {"田赛", 1, {"１ 2", "00"}, "米", "不是数字"},
  };
  for (const Case& c : cases) {
    Meet meet;
    for (int i = 1; i <= 2; ++i) {
      Entrant e;
      e.number = std::to_string(i);
      e.name = i == 2 ? "李四" : "张三";
      e.kind = c.kind;
      meet.Add(e);
    }
    const std::string before = meet.Dump();
    Form f("100米", 1, 4);
    f.Time("1", "11", "00");
    f.Blank("2");
    for (size_t i = 0; i < c.parts.size(); ++i) f.Set("playcj_" + std::to_string(i + 1) + "_2", c.parts[i]);
    WldfSaveSettings s;
    s.time_style = c.time_style;
    const std::string label = std::string(c.kind) + " " + c.parts[0] + "/" + c.parts[1];
    try {
      Save(meet, f, s);
      ADD_FAILURE() << label;
    } catch (const automation::Error& e) {
      const std::string m = ToUtf8(e.description());
      EXPECT_EQ(e.number(), 5) << label;
      EXPECT_NE(m.find("编号 2（李四）的"), std::string::npos) << label << ": " << m;
      EXPECT_NE(m.find(c.field), std::string::npos) << label << ": " << m;
      EXPECT_NE(m.find(c.rule), std::string::npos) << label << ": " << m;
    }
    EXPECT_EQ(meet.Dump(), before) << label;  // entrant 1's good time not stored either
  }
}

TEST(BadInput, FullWidthDigitsAndBlanksReadAsDigits) {
  Meet meet;
  AddEvent(meet, "100米", true, 3);
  Form f("100米", 1, 4);
  f.Time("1", "１１", "０５").Time("2", " 10 ", "9　").Time("3", "", "", "");
  Save(meet, f, WldfSaveSettings{});
  auto rows = meet.Rows();
  EXPECT_EQ(Str(rows["1"]["比赛成绩"]), "    1105");
  EXPECT_EQ(Str(rows["2"]["比赛成绩"]), "    109");
  EXPECT_EQ(Int(rows["2"]["比赛名次"]), 1);
  EXPECT_EQ(Int(rows["1"]["比赛名次"]), 2);
  EXPECT_EQ(Str(rows["3"]["排序成绩"]), "999999999");  // empty stays no result
}

// An event run by sex is never saved for a sex group that would rank men
// and women together; a mixed event is.
TEST(BadInput, ASexOtherThanMenOrWomenOnlyForAMixedEvent) {
  Meet meet;
  AddEvent(meet, "100米", true, 2);
  AddEvent(meet, "100米", false, 2);
  const std::string before = meet.Dump();
  for (const char* sex : {"混", "", "男女", "1"}) {
    Form f("100米", 1, 4, sex);
    f.Time("1", "11", "00").Time("2", "10", "90");
    try {
      Save(meet, f, WldfSaveSettings{});
      ADD_FAILURE() << sex;
    } catch (const automation::Error& e) {
      const std::string m = ToUtf8(e.description());
      EXPECT_NE(m.find("【100米】"), std::string::npos) << m;
      EXPECT_NE(m.find("性别组“" + std::string(sex) + "”"), std::string::npos) << m;
    }
    Form places("100米", 1, 4, sex);
    places.Set("bsjg", "1").Blank("1").Set("playmc_1", "1");
    EXPECT_THROW(Save(meet, places, WldfSaveSettings{}), automation::Error) << sex;
  }
  EXPECT_EQ(meet.Dump(), before);

  Meet mixed;
  for (int i = 1; i <= 2; ++i) {
    Entrant e;
    e.number = std::to_string(i);
    e.event = "4×100米混合接力";
    e.men = i == 1;
    mixed.Add(e);
  }
  Form f("4×100米混合接力", 1, 4, "混");
  f.Time("1", "45", "00").Time("2", "44", "00");
  Save(mixed, f, WldfSaveSettings{});
  auto rows = mixed.Rows();
  EXPECT_EQ(Int(rows["2"]["比赛名次"]), 1);
  EXPECT_EQ(Int(rows["1"]["比赛名次"]), 2);
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
