// The packed stage field written and read back by statements, as result
// entry and the stage decomposition write them: positions count code page
// 936 bytes, so that Chinese grades and remarks keep the layout the rest of
// the meet system reads.
#include <gtest/gtest.h>

#include "automation/cp936.h"
#include "data/foxsql/meet_folder.h"

namespace foxsql_test {
namespace {

namespace dbf = data::dbf;

const char* kFilter = "AllTrim(参赛项目)=='100米' And AllTrim(年龄组)=='甲组' And 性别=.T. And "
                      "AllTrim(参赛子项目)==''";

// The current-stage columns into 决赛信息, positions 1-18 kept.
const char* kPack =
    "Update [Play] Set 决赛信息=SubStr(决赛信息,1,18)+比赛成绩+PADL(Str(比赛名次),4)+"
    "PADL(Str(比赛组名次),4)+PADL(Str(比赛得分,6,1),6)+PADL(AllTrim(比赛等级),8)+"
    "PADL(AllTrim(比赛团队),60)+Iif(比赛晋级,'T','F')+Iif(比赛破记录,'T','F')+"
    "PADL(AllTrim(比赛检录),10)+PADL(AllTrim(比赛备注),10)+PADL(AllTrim(比赛风速),6)+"
    "PADL(AllTrim(比赛详情),100) Where ";

// The select list that reads a stage field's values directly.
const char* kUnpackColumns =
    "Cast(Int(Val(SubStr(决赛信息,1,4))) As I) As 比赛序号,Cast(Int(Val(SubStr(决赛信息,5,4))) As I) "
    "As 比赛组次,Cast(Int(Val(SubStr(决赛信息,9,4))) As I) 比赛道次,Cast(AllTrim(SubStr(决赛信息,13,6)) "
    "As C(6)) As 比赛组人数,Cast(SubStr(决赛信息,19,9) As C(9)) As 比赛成绩,Cast(Int(Val(SubStr(决赛信息,"
    "28,4))) As I) As 比赛名次,Cast(Iif(Int(Val(SubStr(决赛信息,28,4)))=0,9999,Int(Val(SubStr(决赛信息,"
    "28,4)))) As I) As 排序名次,Cast(Int(Val(SubStr(决赛信息,32,4))) As I) As 比赛组名次,Cast(Round(Val("
    "SubStr(决赛信息,36,6)),1) As Numeric(6,1)) As 比赛得分,Cast(AllTrim(SubStr(决赛信息,42,8)) As C(8)) "
    "As 比赛等级,Cast(AllTrim(SubStr(决赛信息,50,60)) As C(60)) As 比赛团队,Iif(Upper(SubStr(决赛信息,110,"
    "1))=='T',.T.,.F.) As 比赛晋级,Iif(Upper(SubStr(决赛信息,111,1))=='T',.T.,.F.) As 比赛破记录,Cast("
    "AllTrim(SubStr(决赛信息,112,10)) As C(10)) As 比赛检录,Cast(AllTrim(SubStr(决赛信息,122,10)) As "
    "C(10)) As 比赛备注,Cast(AllTrim(SubStr(决赛信息,132,6)) As C(6)) As 比赛风速,Cast(AllTrim(SubStr("
    "决赛信息,138,100)) As C(100)) As 比赛详情";

// The columns of Play that the statements above touch, with the meet's widths.
const char* kCreatePlayWithStage =
    "Create Table Play Free (ID C(10), 编号 C(6), 运动员 C(20), 年龄组 C(20), 性别 L, 参赛项目 C(30), "
    "参赛子项目 C(20), 比赛成绩 C(9), 排序成绩 C(9), 比赛名次 I, 排序名次 I, 比赛组名次 I, 比赛得分 N(6,1), "
    "比赛等级 C(8), 比赛团队 C(60), 比赛晋级 L, 比赛破记录 L, 比赛检录 C(10), 比赛备注 C(10), 比赛风速 C(6), "
    "比赛详情 C(100), 决赛信息 C(237))";

TEST(StageField, PacksAndUnpacksByBytes) {
  dbf_test::TempDir dir;
  Database db(dir.path());
  auto run = [&](const std::string& sql) { return db.Run(FromUtf8(sql)); };
  run(kCreatePlayWithStage);
  run("Insert Into Play (ID, 编号, 运动员, 年龄组, 性别, 参赛项目, 决赛信息) Values "
      "('1', '1', '张三', '甲组', .T., '100米', ' 104   1   4001008')");
  run(std::string("Update [Play] Set 比赛成绩='    1050 ', 比赛名次=2, 比赛组名次=1, 比赛得分=7, "
                  "比赛等级='一级', 比赛晋级=.T., 比赛备注='预赛破纪录', 比赛风速='+1.2' Where ") + kFilter);
  ASSERT_EQ(run(kPack + std::string(kFilter)).affected, 1);

  auto file = dbf::Table::Open(dir.File("Play.dbf"), dbf::Access::kRead);
  std::string field(file->RawField(0, file->FieldIndex(u"决赛信息")));
  ASSERT_EQ(field.size(), 237u);
  EXPECT_EQ(field.substr(0, 41), " 104   1   4001008    1050    2   1   7.0");
  EXPECT_EQ(field.substr(41, 8), automation::ToGbk(u"    一级"));
  EXPECT_EQ(field.substr(109, 2), "TF");
  EXPECT_EQ(field.substr(121, 10), automation::ToGbk(u"预赛破纪录"));
  EXPECT_EQ(field.substr(131, 6), "  +1.2");

  // Read back with the decomposition's select list.
  Rows r = *run(std::string("Select ") + kUnpackColumns + " From [Play] Where " + kFilter).rows;
  ASSERT_EQ(r.rows.size(), 1u);
  const auto& v = r.rows[0];
  EXPECT_EQ(r.names[2], u"比赛道次");
  EXPECT_EQ(v[0], Variant(int32_t{104}));
  EXPECT_EQ(v[2], Variant(int32_t{4}));
  EXPECT_EQ(v[3], Variant(Text(u"001008")));
  EXPECT_EQ(v[4], Variant(Text(u"    1050 ")));
  EXPECT_EQ(v[5], Variant(int32_t{2}));
  EXPECT_EQ(v[6], Variant(int32_t{2}));
  EXPECT_EQ(v[8], Variant(7.0));
  EXPECT_EQ(v[9], Variant(Text(u"一级    ")));  // C(8): eight bytes
  EXPECT_EQ(v[11], Variant(true));
  EXPECT_EQ(v[12], Variant(false));
  EXPECT_EQ(v[14], Variant(Text(u"预赛破纪录")));

  // And the decomposition's updates: unpack, sort keys, ordering places.
  run("Update [Play] Set 比赛名次=0, 比赛等级='' Where " + std::string(kFilter));
  run("Update [Play] Set 比赛名次=Int(Val(SubStr(决赛信息,28,4))), 比赛等级=AllTrim(SubStr(决赛信息,42,8)), "
      "比赛晋级=Upper(SubStr(决赛信息,110,1))=='T', 比赛得分=Round(Val(SubStr(决赛信息,36,6)),1) Where " +
      std::string(kFilter));
  run("Update [Play] Set 排序成绩=Strtran(比赛成绩,' ', '0')");
  run("Update [Play] Set 排序名次=IIF(比赛名次=0,9999,比赛名次)");
  Rows back = *run("Select 比赛名次, 比赛等级, 比赛晋级, 排序成绩, 排序名次 From Play").rows;
  EXPECT_EQ(back.rows[0][0], Variant(int32_t{2}));
  EXPECT_EQ(Trimmed(back.rows[0][1]), "一级");
  EXPECT_EQ(back.rows[0][2], Variant(true));
  EXPECT_EQ(back.rows[0][3], Variant(Text(u"000010500")));
  EXPECT_EQ(back.rows[0][4], Variant(int32_t{2}));
}

}  // namespace
}  // namespace foxsql_test
