// The translator: FoxPro statements in, SQLite statements out.
#include "data/foxsql/translate.h"

#include <gtest/gtest.h>

#include "automation/error.h"
#include "data/foxsql/statement_error.h"

namespace data::foxsql {
namespace {

using automation::FromUtf8;

std::string Sql(const char* fox) { return Translate(FromUtf8(fox)).sql; }

struct Case {
  const char* fox;
  const char* sqlite;
};

TEST(TranslateTest, WritesTheDialectAsSqlite) {
  const Case cases[] = {
      // names, brackets, double-quoted texts, logical constants, operators
      {"Select * From [Play]", R"(SELECT * FROM "Play")"},
      {"select 名称 from sjzd where 分类='项目' Order By 序号 Asc",
       R"(SELECT "名称" FROM "sjzd" WHERE "分类" COLLATE "fox" = '项目' ORDER BY "序号" COLLATE "fox" ASC)"},
      {R"(Select * From [Item] Where 参赛项目 In ("100米","跳远"))",
       R"(SELECT * FROM "Item" WHERE "参赛项目" COLLATE "fox" IN ('100米', '跳远'))"},
      {"Update [PlaySour] Set 比赛状态=.T. Where 性别=.F..And.赛次名称='决赛'",
       R"(UPDATE "PlaySour" SET "比赛状态" = 1 WHERE (("性别" = 0) AND ("赛次名称" COLLATE "fox" = '决赛')))"},
      {"Select * From T Where a#b .Or. .NOT. c!=d Or Not e<>f",
       R"(SELECT * FROM "T" WHERE (("a" COLLATE "fox" <> "b") OR (NOT ("c" COLLATE "fox" <> "d"))) OR (NOT ("e" COLLATE "fox" <> "f")))"},
      {"Select [T].[dateandtime] From [T] Where Left(DateAndTime,6)='202405'",
       R"(SELECT "T"."dateandtime" FROM "T" WHERE fox_left("DateAndTime", 6) COLLATE "fox" = '202405')"},
      // the entry filter: AllTrim/Trim of a column compared with a text
      {"Select * From [Play] Where AllTrim(参赛项目)=='100米' And AllTrim(参赛子项目)=='' And "
       "Trim(编号)='1'",
       R"(SELECT * FROM "Play" WHERE (("参赛项目" COLLATE "fox_alltrim" = '100米') AND ("参赛子项目" COLLATE "fox_alltrim" = '')) AND ("编号" COLLATE "fox" = '1'))"},
      {"Select * From Ydybm Where Alltrim(ID)<>'7'",
       R"(SELECT * FROM "Ydybm" WHERE "ID" COLLATE "fox_alltrim" <> '7')"},
      // a text with leading blanks cannot take the rewrite
      {"Select * From T Where AllTrim(a)==' x'",
       R"(SELECT * FROM "T" WHERE fox_alltrim("a") COLLATE "fox" = ' x')"},
      // + on texts and numbers, / in reals
      {"Select Val('0.'+Right(k,3)), a+b, 1+2, 'x'+'y', 7/2 From T",
       R"(SELECT fox_val('0.' || fox_right("k", 3)) AS "Exp_1", fox_add("a", "b") AS "Exp_2", 1 + 2 AS "Exp_3", 'x' || 'y' AS "Exp_4", fox_div(7, 2) AS "Exp_5" FROM "T")"},
      // functions written out
      {"Update [Play] Set 排序名次=IIF(比赛名次=0,9999,比赛名次)",
       R"(UPDATE "Play" SET "排序名次" = CASE WHEN ("比赛名次" = 0) THEN 9999 ELSE "比赛名次" END)"},
      {"Select Nvl(a,''), IsNull(b), InList(c,'x','y'), Between(d,1,5) From T",
       R"(SELECT ifnull("a", '') AS "Exp_1", "b" IS NULL AS "Exp_2", "c" COLLATE "fox" IN ('x', 'y') AS "Exp_3", "d" COLLATE "fox" BETWEEN 1 AND 5 AS "Exp_4" FROM "T")"},
      {"Select Cast(Int(Val(SubStr(f,1,4))) As I) As 比赛序号,Cast(Int(Val(SubStr(f,9,4))) As I) 比赛道次,"
       "Cast(Round(Val(SubStr(f,36,6)),1) As Numeric(6,1)) As 比赛得分,Cast(AllTrim(SubStr(f,138,100)) As "
       "C(100)) As 比赛详情 From [Play]",
       R"(SELECT fox_slice("f", 1, 4, 'val int cast_i') AS "比赛序号", fox_slice("f", 9, 4, 'val int cast_i') AS "比赛道次", fox_slice("f", 36, 6, 'val round:1 cast_n:1') AS "比赛得分", fox_slice("f", 138, 100, 'alltrim cast_c:100') AS "比赛详情" FROM "Play")"},
      // a chain is one call only with literal positions and steps that take
      // what the step inside gives
      {"Select Upper(SubStr(f,110,1)), Val(SubStr(f,n,4)), Int(AllTrim(SubStr(f,1,4))), SubStr(f,1,4), "
       "Cast(SubStr(f,1,4) As D) From T",
       R"(SELECT fox_slice("f", 110, 1, 'upper') AS "Exp_1", fox_val(fox_substr("f", "n", 4)) AS "Exp_2", fox_int(fox_slice("f", 1, 4, 'alltrim')) AS "Exp_3", fox_substr("f", 1, 4) AS "Exp_4", fox_cast_d(fox_substr("f", 1, 4)) AS "Exp_5" FROM "T")"},
      // names FoxPro gives computed columns; Top; Distinct; Group By
      {"Select Min(比赛组次),Max(比赛组次),Count(*) From [Play]",
       R"(SELECT min("比赛组次") AS "min_比赛组次", max("比赛组次") AS "max_比赛组次", count(*) AS "cnt" FROM "Play")"},
      {"Select Top 3 Distinct 代表队 From Play Order By 2 Desc",
       R"(SELECT DISTINCT "代表队" FROM "Play" ORDER BY 2 DESC LIMIT 3)"},
      {"Select 代表队, Sum(比赛得分) As 总分 From Play Group By 代表队 Having Sum(比赛得分)>10",
       R"(SELECT "代表队", sum("比赛得分") AS "总分" FROM "Play" GROUP BY "代表队" HAVING sum("比赛得分") > 10)"},
      // joins
      {"Select p.编号, a.流水号 From Play p Left Outer Join Age As a On p.年龄组==a.年龄组",
       R"(SELECT "p"."编号", "a"."流水号" FROM "Play" AS "p" LEFT JOIN "Age" AS "a" ON ("p"."年龄组" COLLATE "fox" = "a"."年龄组"))"},
      // one table updated from another
      {"Update [Record] Set 比赛成绩=Play.比赛成绩 From [Play] Where Record.性别=Play.性别",
       R"(UPDATE "Record" SET "比赛成绩" = "Play"."比赛成绩" FROM "Play" WHERE ("Record"."性别" COLLATE "fox" = "Play"."性别"))"},
      {"Update Record Set 运动员=Play.运动员 From Record Join Play On Record.参赛项目=Play.参赛项目 "
       "Where Play.比赛名次=1",
       R"(UPDATE "Record" SET "运动员" = "Play"."运动员" FROM "Play" WHERE ("Record"."参赛项目" COLLATE "fox" = "Play"."参赛项目") AND ("Play"."比赛名次" = 1))"},
      // writes
      {"Insert Into [Sjzd] (分类,名称) Values ('项目','O''Neil')",
       R"(INSERT INTO "Sjzd" ("分类", "名称") VALUES ('项目', 'O''Neil'))"},
      {"Delete From Play Where 编号=='3'",
       R"(DELETE FROM "Play" WHERE "编号" COLLATE "fox" = '3')"},
      // dates, null, $ and Like
      {"Select * From T Where d>={^2024-05-01} And x Is Not Null And 'a' $ y And z Like '%k%'",
       R"(SELECT * FROM "T" WHERE ((("d" >= 45413.0) AND ("x" IS NOT NULL)) AND fox_contains('a', "y")) AND fox_like("z", '%k%'))"},
  };
  for (const Case& c : cases) EXPECT_EQ(Sql(c.fox), c.sqlite) << c.fox;
}

TEST(TranslateTest, ReportsTablesTargetAndComputedKinds) {
  Translation t = Translate(
      u"Update [Record] Set 比赛成绩=Play.比赛成绩 From [Play] Where Record.性别 In "
      u"(Select 性别 From [playsour])");
  EXPECT_EQ(t.kind, StatementKind::kUpdate);
  EXPECT_EQ(t.target, u"Record");
  EXPECT_EQ(t.tables, (std::vector<Text>{u"Record", u"Play", u"playsour"}));

  Translation q = Translate(u"Select *, Upper(a), b, a=b, Cast(c As L), {^2024-01-02} From T");
  ASSERT_TRUE(q.computed_kinds);
  EXPECT_EQ(*q.computed_kinds, (std::vector<ValueKind>{ValueKind::kText, ValueKind::kLogical,
                                                       ValueKind::kLogical, ValueKind::kDate}));
  EXPECT_FALSE(Translate(u"Select x From (Select a+b As x From T) d").computed_kinds);

  Translation c = Translate(u"Create Table 成绩 Free (编号 C(10), 得分 N(6,1) Null, 日期 D)");
  EXPECT_EQ(c.kind, StatementKind::kCreateTable);
  ASSERT_EQ(c.create.columns.size(), 3u);
  EXPECT_EQ(c.create.columns[1].type.letter, u'N');
  EXPECT_EQ(c.create.columns[1].type.width, 6);
  EXPECT_EQ(c.create.columns[1].type.decimals, 1);
  EXPECT_TRUE(c.create.columns[1].nullable);
}

TEST(TranslateTest, RefusesWhatItDoesNotKnowQuotingTheStatement) {
  const char* bad[] = {
      "Select * Frm [Play]",
      "Select * From [Play] Where",
      "Select Foo(1) From T",
      "Select SubStr('a') From T",
      "Select * From T Where a = 'open",
      "Select * From [T",
      "Drop Table T",
      "Select * From T; Delete From T",
      "Select Top 10 Percent * From T",
      "Select * From T Where a ~ b",
      "Select Cast(a As X) From T",
      "Select * From T Where d = {05/01/2024}",
  };
  for (const char* s : bad) {
    try {
      Translate(FromUtf8(s));
      ADD_FAILURE() << "accepted: " << s;
    } catch (const automation::Error& e) {
      EXPECT_EQ(e.number(), kStatementError) << s;
      Text d = e.description();
      EXPECT_NE(d.find(u" in statement: " + FromUtf8(s)), Text::npos) << automation::ToUtf8(d);
    }
  }
}

TEST(TranslateTest, NamesAndTextsKeepTheirQuotes) {
  EXPECT_EQ(QuoteName(u"a\"b"), "\"a\"\"b\"");
  EXPECT_EQ(QuoteText(u"O'Neil"), "'O''Neil'");
  // A doubled quote inside either kind of quotes stands for one quote.
  EXPECT_EQ(Sql(R"(Select 'It''s', "say ""hi""" From T)"),
            R"(SELECT 'It''s' AS "Exp_1", 'say "hi"' AS "Exp_2" FROM "T")");
}

}  // namespace
}  // namespace data::foxsql

namespace data::foxsql {
namespace {

TEST(TranslateTest, RefusesNestingThatWouldExhaustTheStack) {
  auto repeat = [](const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
  };
  const std::string deep[] = {
      "Select " + repeat("(", 100000) + "1" + repeat(")", 100000) + " From T",
      "Select * From T Where " + repeat("Not ", 100000) + "a",
      "Select " + repeat("-", 100000) + "1 From T",
      "Select 1 From T Where a=1" + repeat(" Or a=1", 100000),
      "Select " + repeat("Upper(", 50000) + "'x'" + repeat(")", 50000) + " From T",
      "Select * From T Where a In " + repeat("(Select a From T Where a In ", 20000),
  };
  for (const std::string& s : deep) {
    try {
      Translate(automation::FromUtf8(s));
      ADD_FAILURE() << "accepted a statement of " << s.size() << " characters";
    } catch (const automation::Error& e) {
      EXPECT_EQ(e.number(), kStatementError);
    }
  }
  // Statements as long as the component writes them pass.
  EXPECT_NO_THROW(Translate(automation::FromUtf8("Select 1 From T Where a=1" + repeat(" Or a=1", 300))));
}

}  // namespace
}  // namespace data::foxsql
