// The engine on real free tables in a temporary folder: every statement
// form, the text rules, values and their types, writes reaching the files,
// and the errors.
#include "data/foxsql/database.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "data/foxsql/meet_folder.h"
#include "data/foxsql/statement_error.h"

namespace foxsql_test {
namespace {

using data::foxsql::kStatementError;
using dbf_test::ErrorOf;
namespace dbf = data::dbf;

class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override { meet.Exec(kCreatePlay); }
  MeetFolder meet;
};

TEST_F(EngineTest, RunsEveryStatementForm) {
  meet.AddEntrant("1", "张三");
  meet.AddEntrant("2", "李四");
  meet.AddEntrant("3", "王五", "跳远");
  meet.AddEntrant("4", "赵六", "100米", false);
  EXPECT_EQ(meet.Query("Select Count(*) From [play]").rows[0][0], Variant(int32_t{4}));

  // Update with the entry filter, as result entry writes it.
  EXPECT_EQ(meet.Exec("Update [Play] Set 比赛成绩='    1012 ',排序成绩=Strtran(' 1012 ',' ','0') "
                      "Where AllTrim(参赛项目)=='100米' And AllTrim(年龄组)=='甲组' And 性别=.T. "
                      "And AllTrim(参赛子项目)==''"),
            2);
  EXPECT_EQ(Column(meet.Query("Select 编号 From Play Where 排序成绩=='010120' Order By 编号")),
            (std::vector<std::string>{"1", "2"}));

  // Select forms: Distinct, Group By, Top, joins, aggregates.
  EXPECT_EQ(Column(meet.Query("Select Distinct 参赛项目 From Play Order By 参赛项目 Desc")),
            (std::vector<std::string>{"跳远", "100米"}));
  Rows grouped = meet.Query("Select 参赛项目, Count(*) As n From Play Group By 参赛项目 Order By 2 Desc");
  EXPECT_EQ(Trimmed(grouped.rows[0][0]), "100米");
  EXPECT_EQ(grouped.rows[0][1], Variant(int32_t{3}));
  EXPECT_EQ(Column(meet.Query("Select Top 2 编号 From Play Order By 编号 Desc")),
            (std::vector<std::string>{"4", "3"}));
  EXPECT_EQ(Column(meet.Query("Select a.运动员 From Play a Join Play b On a.编号==b.编号 "
                              "Where b.参赛项目=='跳远'")),
            (std::vector<std::string>{"王五"}));
  Rows minmax = meet.Query("Select Min(比赛组次),Max(比赛组次) From [Play] Where 性别=.F.");
  EXPECT_EQ(minmax.names, (std::vector<Text>{u"min_比赛组次", u"max_比赛组次"}));

  // Delete marks the record; later statements skip it; the file keeps it.
  EXPECT_EQ(meet.Exec("Delete From Play Where 编号=='3'"), 1);
  EXPECT_EQ(meet.Query("Select * From Play").rows.size(), 3u);
  auto file = dbf::Table::Open(meet.File("Play.dbf"), dbf::Access::kRead);
  EXPECT_EQ(file->RecordCount(), 4u);
  EXPECT_TRUE(file->IsDeleted(2));
  EXPECT_EQ(meet.Exec("Update Play Set 比赛名次=1"), 3);
}

// Texts kept decoded for the process reach the engine without a copy: they
// must read the same through a join, a sort, slices and a subquery, and a
// write must be seen by the next statement.
TEST_F(EngineTest, KeptTextsReadTheSameEverywhereAndChangesAreSeen) {
  meet.AddEntrant("1", "张三");
  meet.AddEntrant("2", "李四");
  meet.AddEntrant("3", "王五");
  meet.Exec("Update Play Set 决赛信息=' 101   1   2' Where 编号=='1'");
  meet.Exec("Update Play Set 决赛信息=' 102   1   1' Where 编号=='2'");
  meet.Exec("Update Play Set 决赛信息=' 203   2   3' Where 编号=='3'");
  // Kept only once the file's times are safely past.
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  const std::string sql =
      "Select a.运动员, b.代表队, SubStr(a.决赛信息,5,4) As 组次, Cast(SubStr(a.决赛信息,9,4) As C(4)) As 道次 "
      "From Play a Join Play b On a.编号==b.编号 "
      "Where a.运动员 In (Select 运动员 From Play Where Int(Val(SubStr(决赛信息,1,4)))>100) "
      "Order By Int(Val(SubStr(a.决赛信息,9,4))) Desc";
  for (int pass = 0; pass < 2; ++pass) {  // decoded on the first, kept on the second
    Rows rows = meet.Query(sql);
    EXPECT_EQ(Column(rows, 0), (std::vector<std::string>{"王五", "张三", "李四"})) << pass;
    EXPECT_EQ(Column(rows, 1), (std::vector<std::string>{"一队", "一队", "一队"})) << pass;
    EXPECT_EQ(Column(rows, 2), (std::vector<std::string>{"   2", "   1", "   1"})) << pass;
    EXPECT_EQ(Column(rows, 3), (std::vector<std::string>{"   3", "   2", "   1"})) << pass;
  }
  meet.Exec("Update Play Set 运动员='赵六' Where 编号=='3'");
  EXPECT_EQ(Column(meet.Query(sql), 0), (std::vector<std::string>{"赵六", "张三", "李四"}));
}

TEST_F(EngineTest, ATrimmedNumberNeverMatchesAnotherThatStartsWithIt) {
  meet.AddEntrant("1", "一号");
  meet.AddEntrant("10", "十号");
  meet.AddEntrant("100", "百号");
  EXPECT_EQ(meet.Exec("Update [Play] Set 比赛名次 =7 Where AllTrim(参赛项目)=='100米' And Trim(编号)='1'"),
            1);
  EXPECT_EQ(Column(meet.Query("Select 编号 From Play Where 比赛名次=7")),
            (std::vector<std::string>{"1"}));
  EXPECT_EQ(meet.Query("Select * From Play Where 编号='10'").rows.size(), 1u);
  EXPECT_EQ(meet.Query("Select * From Play Where 编号 = '1  '").rows.size(), 1u);
  EXPECT_EQ(meet.Query("Select * From Play Where 编号 < '10'").rows.size(), 1u);
}

TEST_F(EngineTest, NullIsNotEmptyText) {
  meet.AddEntrant("1", "甲");  // 备注 left out: blank, not Null
  meet.AddEntrant("2", "乙");
  meet.Exec("Update Play Set 备注=.NULL. Where 编号='2'");
  Rows rows = meet.Query("Select 编号, 备注 From Play Order By 编号");
  EXPECT_EQ(rows.rows[0][1], Variant(Text(u"")));
  EXPECT_TRUE(rows.rows[1][1].IsNull());
  EXPECT_EQ(Column(meet.Query("Select 编号 From Play Where 备注==''")), (std::vector<std::string>{"1"}));
  EXPECT_EQ(Column(meet.Query("Select 编号 From Play Where IsNull(备注)")),
            (std::vector<std::string>{"2"}));
  EXPECT_EQ(Column(meet.Query("Select 编号 From Play Where Empty(备注)")),
            (std::vector<std::string>{"1"}));
}

TEST_F(EngineTest, AQuoteInAValueIsStoredAsTyped) {
  meet.AddEntrant("1", "O''Neil");
  meet.Exec("Update Play Set 代表队=\"Team \"\"A\"\"\" Where 运动员=='O''Neil'");
  auto file = dbf::Table::Open(meet.File("Play.dbf"), dbf::Access::kRead);
  EXPECT_EQ(Trimmed(file->Value(0, file->FieldIndex(u"运动员"))), "O'Neil");
  EXPECT_EQ(Trimmed(file->Value(0, file->FieldIndex(u"代表队"))), "Team \"A\"");
  // A value that tries to end the text stays a value.
  meet.Exec("Update Play Set 运动员='x'' Or 1=1 Or ''' Where 编号='1'");
  EXPECT_EQ(Trimmed(meet.Query("Select 运动员 From Play").rows[0][0]), "x' Or 1=1 Or '");
}

TEST_F(EngineTest, OrdersChineseNamesByCodePage936) {
  for (const char* name : {"赵六", "张三", "阿明", "王五", "李四"}) meet.AddEntrant(name, name);
  EXPECT_EQ(Column(meet.Query("Select 运动员 From Play Order By 运动员")),
            (std::vector<std::string>{"阿明", "李四", "王五", "张三", "赵六"}));
  EXPECT_EQ(Column(meet.Query("Select Max(运动员) From Play")), (std::vector<std::string>{"赵六"}));
}

TEST_F(EngineTest, UpdatesOneTableFromAnother) {
  meet.Exec("Create Table Record Free (性别 L, 参赛项目 C(30), 年龄组 C(20), 比赛成绩 C(9), "
            "运动员 C(20), 时间 C(7))");
  meet.Exec("Insert Into Record Values (.T., '100米', '', '    1100 ', '旧', '2019 5')");
  meet.Exec("Insert Into Record Values (.F., '100米', '', '    1200 ', '旧', '2019 5')");
  meet.AddEntrant("1", "新人");
  meet.Exec("Update Play Set 比赛名次=1, 比赛成绩='    1050 '");
  EXPECT_EQ(meet.Exec("Update [Record] Set 比赛成绩=Play.比赛成绩,运动员=Play.运动员,时间='2024 5' "
                      "From [Play] Where Record.性别=Play.性别 And Record.参赛项目==Play.参赛项目 "
                      "And Play.比赛名次=1 And AllTrim(Record.年龄组)==''"),
            1);
  Rows r = meet.Query("Select 运动员, 比赛成绩, 时间 From Record Order By 性别 Desc");
  EXPECT_EQ(Column(r), (std::vector<std::string>{"新人", "旧"}));
  EXPECT_EQ(Column(r, 1), (std::vector<std::string>{"    1050", "    1200"}));
}

TEST_F(EngineTest, GivesValuesTheirTypes) {
  meet.AddEntrant("1", "甲");
  meet.Exec("Update Play Set 比赛得分=9.5, 日期={^2024-05-01}, 比赛名次=2, 备注='长文本'");
  Rows r = meet.Query("Select 编号, 性别, 比赛得分, 比赛名次, 日期, 备注, 编号=='1', "
                      "Cast(比赛名次 As C(3)), Cast(比赛得分 As N(6,1)), Iif(性别,.T.,.F.) From Play");
  const auto& v = r.rows.at(0);
  EXPECT_EQ(v[0], Variant(Text(u"1         ")));  // padded to the width
  EXPECT_EQ(v[1], Variant(true));
  EXPECT_EQ(v[2], Variant(9.5));
  EXPECT_EQ(v[3], Variant(int32_t{2}));
  EXPECT_EQ(v[4], Variant(automation::MakeDate(2024, 5, 1)));
  EXPECT_EQ(v[5], Variant(Text(u"长文本")));
  EXPECT_EQ(v[6], Variant(true));
  EXPECT_EQ(v[7], Variant(Text(u"2  ")));
  EXPECT_EQ(v[8], Variant(9.5));
  EXPECT_EQ(v[9], Variant(true));
  EXPECT_EQ(r.names[6], u"Exp_1");
  // The empty date is the serial 0, as the platform's provider gave it.
  meet.AddEntrant("2", "乙");
  EXPECT_EQ(meet.Query("Select 日期 From Play Where 编号='2'").rows[0][0], Variant(automation::Date{0}));
  EXPECT_EQ(meet.Query("Select Count(*) From Play Where Empty(日期)").rows[0][0], Variant(int32_t{1}));
}

TEST_F(EngineTest, TwoConnectionsSeeEachOthersWrites) {
  for (int i = 1; i <= 30; ++i)
    meet.AddEntrant(std::to_string(i), "人" + std::to_string(i), i % 3 ? "100米" : "跳远");
  Database other(meet.path());
  auto count = [](Database& db, const char* event) {
    std::string sql = std::string("Select * From Play Where AllTrim(参赛项目)=='") + event + "'";
    return db.Run(FromUtf8(sql)).rows->rows.size();
  };
  EXPECT_EQ(count(other, "跳远"), 10u);  // builds the shared index
  meet.Exec("Update Play Set 参赛项目='跳远' Where 编号='1'");
  EXPECT_EQ(count(other, "跳远"), 11u);
  EXPECT_EQ(count(other, "100米"), 19u);
  other.Run(u"Delete From Play Where 编号='3'");
  EXPECT_EQ(count(meet.db(), "跳远"), 10u);
  other.Run(u"Insert Into Play (编号, 参赛项目) Values ('31', '跳远')");
  EXPECT_EQ(count(meet.db(), "跳远"), 11u);

  // A write by another program (here the table layer itself) is seen too.
  {
    auto file = dbf::Table::Open(meet.File("Play.dbf"), dbf::Access::kWrite);
    file->Update(4, std::vector<dbf::FieldValue>{{file->FieldIndex(u"参赛项目"), Variant(Text(u"跳远"))}});
  }
  EXPECT_EQ(count(meet.db(), "跳远"), 12u);
  // The index answers as a scan does.
  EXPECT_EQ(meet.Query("Select * From Play Where Trim(参赛项目) Like '跳远'").rows.size(), 12u);
}

TEST_F(EngineTest, ErrorsNameTheStatementAndTheFile) {
  meet.AddEntrant("1", "甲");
  auto [n1, d1] = ErrorOf([&] { meet.Run("Select 不存在 From Play"); });
  EXPECT_EQ(n1, kStatementError);
  EXPECT_EQ(d1, "no such column: 不存在 in statement: Select 不存在 From Play");

  auto [n2, d2] = ErrorOf([&] { meet.Run("Select * From Nothing"); });
  EXPECT_EQ(n2, 53);
  EXPECT_EQ(d2, "File 'Nothing.dbf' does not exist in statement: Select * From Nothing");

  auto [n3, d3] = ErrorOf([&] { meet.Run("Selec * From Play"); });
  EXPECT_EQ(n3, kStatementError);
  EXPECT_EQ(d3, "Syntax error near Selec in statement: Selec * From Play");

  auto [n4, d4] = ErrorOf([&] { meet.Run("Update Play Set 比赛名次=1/0"); });
  EXPECT_EQ(n4, 11);
  EXPECT_NE(d4.find(" in statement: Update Play Set 比赛名次=1/0"), std::string::npos);

  auto [n5, d5] = ErrorOf([&] { meet.Run("Update Play Set 比赛得分=123456"); });
  EXPECT_EQ(n5, 6);
  EXPECT_NE(d5.find("Play.dbf"), std::string::npos) << d5;

  auto [n6, d6] = ErrorOf([&] { meet.Run("Select * From [../Play]"); });
  EXPECT_EQ(n6, kStatementError);

  // A broken table file: the table layer's error, naming the file.
  dbf_test::Spit(meet.File("Broken.dbf"), std::string("\x30\x01\x02", 3));
  auto [n7, d7] = ErrorOf([&] { meet.Run("Select * From Broken"); });
  EXPECT_EQ(n7, 75);
  EXPECT_EQ(d7.rfind("Broken.dbf", 0), 0u) << d7;
}

// A field name holds ten bytes; statements may use the longer name the
// column was meant to have, and reach the field stored as its first ten.
TEST_F(EngineTest, ALongColumnNameReachesTheFieldStoredAsItsFirstTenBytes) {
  meet.Exec("Create Table Diary Free (DateAndTim C(14), 报名截止日 C(8), Note C(10))");
  meet.Exec("Insert Into Diary (DateAndTime, 报名截止日期时间, Note) "
            "Values ('20130103101500', '20130101', 'a')");
  meet.Exec("Insert Into Diary (dateandtime, Note) Values ('20130205080000', 'b')");
  EXPECT_EQ(meet.Exec("Update Diary Set DATEANDTIME='20130105090000' Where Note=='a'"), 1);
  Rows rows = meet.Query("Select [DateAndTime], 报名截止日期时间 From [Diary] "
                         "Where Left(DateAndTime,6)='201301' Order By [DateAndTime]");
  ASSERT_EQ(rows.rows.size(), 1u);
  EXPECT_EQ(rows.names[0], u"DateAndTim");  // the stored name, as the record set shows it
  EXPECT_EQ(Trimmed(rows.rows[0][0]), "20130105090000");
  EXPECT_EQ(Trimmed(rows.rows[0][1]), "20130101");
  EXPECT_EQ(Column(meet.Query("Select d.Note From Diary d Order By d.DateAndTime Desc")),
            (std::vector<std::string>{"b", "a"}));

  // A long name the statement gives a result column stays that name.
  EXPECT_EQ(Column(meet.Query("Select * From (Select Note As DateAndTimeNote From Diary) x "
                              "Order By x.DateAndTimeNote")),
            (std::vector<std::string>{"a", "b"}));

  // A long name whose first ten bytes name no field stays SQLite's error.
  auto [n1, d1] = ErrorOf([&] { meet.Run("Select Description1 From Diary"); });
  EXPECT_EQ(n1, kStatementError);
  EXPECT_EQ(d1, "no such column: Description1 in statement: Select Description1 From Diary");

  // Two tables of the statement both hold the field: ambiguous, named.
  meet.Exec("Create Table Diary2 Free (DateAndTim C(14))");
  auto [n2, d2] = ErrorOf([&] { meet.Run("Select DateAndTime From Diary, Diary2"); });
  EXPECT_EQ(n2, kStatementError);
  EXPECT_EQ(d2, "Ambiguous column name DateAndTime in statement: Select DateAndTime From Diary, "
                "Diary2");
}

TEST_F(EngineTest, RefusesToWriteATableWithAStructuralIndex) {
  meet.AddEntrant("1", "甲");
  dbf_test::Spit(meet.File("Play.cdx"), "index");
  Database db(meet.path());
  EXPECT_EQ(db.Run(u"Select * From Play").rows->rows.size(), 1u);
  auto [number, description] = ErrorOf([&] { db.Run(u"Update Play Set 比赛名次=1 Where 1=0"); });
  EXPECT_EQ(number, 70);
  EXPECT_EQ(description.rfind("Play.dbf: ", 0), 0u) << description;
}

TEST_F(EngineTest, ListsAndDescribesTables) {
  meet.Exec("Create Table Age Free (年龄组 C(20), 流水号 N(3))");
  EXPECT_EQ(meet.db().TableNames(), (std::vector<Text>{u"Age", u"Play"}));
  const dbf::Table& age = meet.db().Table(u"age");
  ASSERT_EQ(age.fields().size(), 2u);
  EXPECT_EQ(age.fields()[1].name, u"流水号");
  auto [number, description] = ErrorOf([&] { meet.Run("Create Table Age Free (x C(1))"); });
  EXPECT_EQ(number, 58);
}

}  // namespace
}  // namespace foxsql_test

namespace foxsql_test {
namespace {

// Pages run on several threads, each with its own connection: the file
// locks keep their statements apart and the shared indexes stay right.
TEST_F(EngineTest, ConnectionsOnThreadsKeepEachOthersWrites) {
  for (int i = 1; i <= 40; ++i)
    meet.AddEntrant(std::to_string(i), "人" + std::to_string(i), i % 2 ? "100米" : "跳远");
  auto work = [&](const std::string& event, int rounds) {
    Database db(meet.path());
    for (int k = 1; k <= rounds; ++k) {
      db.Run(FromUtf8("Update Play Set 比赛名次=" + std::to_string(k) + " Where AllTrim(参赛项目)=='" +
                      event + "'"));
      // Move one entrant to the other event and back, through the index.
      db.Run(FromUtf8("Update Play Set 参赛项目='临时' Where AllTrim(参赛项目)=='" + event +
                      "' And 编号=='" + (event == "100米" ? "1" : "2") + "'"));
      db.Run(FromUtf8("Update Play Set 参赛项目='" + event + "' Where AllTrim(参赛项目)=='临时' And 编号=='" +
                      (event == "100米" ? "1" : "2") + "'"));
      size_t n = db.Run(FromUtf8("Select * From Play Where AllTrim(参赛项目)=='" + event + "'")).rows->rows.size();
      if (n != 20) ADD_FAILURE() << event << " has " << n << " entrants in round " << k;
    }
  };
  std::thread a(work, "100米", 60), b(work, "跳远", 60);
  a.join();
  b.join();
  EXPECT_EQ(meet.Query("Select * From Play Where 比赛名次=60").rows.size(), 40u);
  EXPECT_EQ(meet.Query("Select * From Play Where AllTrim(参赛项目)=='临时'").rows.size(), 0u);
}

}  // namespace
}  // namespace foxsql_test
