// Stage field decomposition on real tables: the unpacking updates fill the
// current-stage columns, keys and ordering places; the select list gives
// the same values without writing, on every row of the sample meet.
#include <gtest/gtest.h>

#include "arenix/frame/arenix_cls.h"
#include "arenix/meet/demo/demo_meet.h"
#include "arenix/meet/stage_field.h"
#include "arenix/meet/stage_info.h"
#include "data/classes.h"
#include "data/sql_text.h"
#include "tables_meet_folder.h"

namespace arenix::meet {
namespace {

using automation::CStr;
using testing::TablesFolder;

void CallUnpack(Variant& conn, const Text& where, int16_t stage, int16_t edition) {
  ArenixCls cls;
  Variant w(where), sc(stage), ed(edition);
  Variant* args[] = {&conn, &w, &sc, &ed};
  CallMethod(cls, u"CommBsxxFenjie", args);
}

Text Trimmed(const Variant& v) { return automation::Trim(CStr(v)); }

TEST(StageInfo, UnpacksKeysAndOrderingPlaces) {
  TablesFolder db({"Play"});
  StageColumns ran;
  ran.order = 104;
  ran.heat = 1;
  ran.lane = 4;
  ran.heat_info = u"001008";
  ran.result = u"    1012 ";
  ran.place = 2;
  ran.points = 7;
  ran.grade = u"一级";
  ran.remark = u"预赛破纪录";
  Text field = PackStageField(ran);
  field[field.find(u"FF")] = u't';  // a lower-case flag still reads as true
  StageColumns blank;
  blank.result = Text(9, u' ');
  auto add = [&](const char16_t* id, const char16_t* kind, const char16_t* sub, const Text& f) {
    db.Exec(u"Insert Into Play (ID, 参赛项目, 径赛田赛, 参赛子项目, 决赛信息, 比赛名次) Values ('" + Text(id) +
            u"', 'x', '" + kind + u"', '" + sub + u"', " + data::SqlText(f) + u", 5)");
  };
  add(u"A", u"径赛", u"", field);
  add(u"B", u"全能", u"100米", PackStageField(blank));
  add(u"C", u"全能", u"跳远", PackStageField(blank));
  add(u"D", u"田赛", u"", PackStageField(blank));
  add(u"E", u"径赛", u"", PackStageField(blank));

  CallUnpack(db.conn, u"AllTrim(参赛项目)=='x'", 0, 1);
  auto rows = db.Query(u"Select ID, 比赛序号, 比赛组人数, 比赛成绩, 比赛名次, 比赛得分, 比赛等级, 比赛晋级, 比赛破记录, "
                       u"比赛备注, 排序成绩, 排序名次 From Play Order By ID");
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[0][1], Variant(int32_t{104}));
  EXPECT_EQ(Trimmed(rows[0][2]), u"001008");
  EXPECT_EQ(CStr(rows[0][3]), u"    1012 ");
  EXPECT_EQ(rows[0][4], Variant(int32_t{2}));
  EXPECT_EQ(automation::CDbl(rows[0][5]), 7.0);
  EXPECT_EQ(Trimmed(rows[0][6]), u"一级");
  EXPECT_EQ(rows[0][7], Variant(true));
  EXPECT_EQ(rows[0][8], Variant(false));
  EXPECT_EQ(Trimmed(rows[0][9]), u"预赛破纪录");
  EXPECT_EQ(CStr(rows[0][10]), u"000010120");
  EXPECT_EQ(rows[0][11], Variant(int32_t{2}));
  // Empty results: timed rows and combined-event runs last, others none.
  EXPECT_EQ(CStr(rows[1][10]), u"999999999");  // 100米 of a combined event
  EXPECT_EQ(CStr(rows[2][10]), u"000000000");  // 跳远 of a combined event
  EXPECT_EQ(CStr(rows[3][10]), u"000000000");
  EXPECT_EQ(CStr(rows[4][10]), u"999999999");
  EXPECT_EQ(rows[3][4], Variant(int32_t{0}));  // the field's place replaced the column's 5
  EXPECT_EQ(rows[3][11], Variant(int32_t{9999}));

  // Edition 2 times every event.
  CallUnpack(db.conn, u"ID=='D'", 4, 2);
  EXPECT_EQ(CStr(db.Value(u"Select 排序成绩 From Play Where ID=='D'")), u"999999999");
  // Only the rows of the condition are touched.
  db.Exec(u"Insert Into Play (ID, 参赛项目, 比赛名次, 排序名次) Values ('F', 'y', 3, 1)");
  CallUnpack(db.conn, u"AllTrim(参赛项目)=='x'", 4, 1);
  EXPECT_EQ(db.Value(u"Select 排序名次 From Play Where ID=='F'"), Variant(int32_t{1}));
}

TEST(StageInfo, StageZeroIsTheFinalAndOthersAreRefused) {
  EXPECT_EQ(UnpackStageStatements(u"1=1", 0, 1), UnpackStageStatements(u"1=1", 4, 1));
  EXPECT_NE(UnpackStageStatements(u"1=1", 0, 1)[0].find(u"SubStr(决赛信息,138,100)"), Text::npos);
  EXPECT_EQ(StageSelectList(0), StageSelectList(4));
  EXPECT_NE(StageSelectList(1).find(u"SubStr(预赛信息,1,4)"), Text::npos);
  for (int bad : {-1, 5}) {
    EXPECT_THROW(StageSelectList(bad), automation::Error);
    EXPECT_THROW(UnpackStageStatements(u"1=1", bad, 1), automation::Error);
  }
  ArenixCls cls;
  EXPECT_EQ(cls.CommsGetBsFenjieXxString(2), StageFieldSelectList(u"次赛信息"));
}

// The select list and the unpacking updates give the same values on every
// row of the sample meet, for every stage, with some fields fully written.
TEST(StageInfo, SelectListAgreesWithTheUpdatesOnTheSampleMeet) {
  dbf_test::TempDir dir;
  demo::WriteDemoMeet(dir.path());
  data::RegisterClasses();  // the test may run alone, before any ArenixCls is made
  Variant conn(automation::CreateObject(u"Adodb.Connection"));
  auto& c = automation::ObjectCast<data::Connection>(conn);
  c.Open(u"provider=vfpoledb;data source=" + automation::FromUtf8(dir.path()));
  StageColumns full;
  full.order = 307;
  full.heat = 3;
  full.lane = 7;
  full.heat_info = u"003024";
  full.result = u" 1 5923  ";
  full.place = 11;
  full.heat_place = 3;
  full.points = 12.5;
  full.grade = u"国际健将";
  full.team = u"体育运动学校";
  full.advanced = true;
  full.record = true;
  full.call_room = u"弃权";
  full.remark = u"x'y";
  full.wind = u"-0.3";
  full.details = Text(50, u'详');
  c.Execute(u"Update [Play] Set 复赛信息=" + data::SqlText(PackStageField(full)) + u" Where Val(SubStr(ID,2,5))<40");

  const Text columns = u"比赛序号,比赛组次,比赛道次,比赛组人数,比赛成绩,比赛名次,排序名次,比赛组名次,比赛得分,比赛等级,"
                       u"比赛团队,比赛晋级,比赛破记录,比赛检录,比赛备注,比赛风速,比赛详情";
  for (int stage = 0; stage <= 4; ++stage) {
    Variant rs1(automation::CreateObject(u"Adodb.RecordSet")), rs2(automation::CreateObject(u"Adodb.RecordSet"));
    auto& listed = automation::ObjectCast<data::Recordset>(rs1);
    listed.Open(u"Select ID," + StageSelectList(stage) + u" From [Play] Order By ID", conn, 1, 1);
    CallUnpack(conn, u"AllTrim(ID)<>''", static_cast<int16_t>(stage), 1);
    auto& unpacked = automation::ObjectCast<data::Recordset>(rs2);
    unpacked.Open(u"Select ID," + columns + u" From [Play] Order By ID", conn, 1, 1);
    ASSERT_GT(listed.RecordCount(), 100);
    ASSERT_EQ(listed.RecordCount(), unpacked.RecordCount());
    int full_rows = 0;
    for (; !listed.Eof(); listed.MoveNext(), unpacked.MoveNext()) {
      for (int i = 0; i < 18; ++i) {
        Variant a = listed.FieldAt(i), b = unpacked.FieldAt(i);
        if (a.IsNumber() || b.IsNumber()) {
          EXPECT_EQ(automation::CDbl(a), automation::CDbl(b)) << "stage " << stage << " column " << i;
        } else {
          EXPECT_EQ(automation::RTrim(CStr(a)), automation::RTrim(CStr(b)))
              << "stage " << stage << " column " << automation::ToUtf8(listed.FieldName(i));
        }
      }
      if (stage == 3 && automation::CDbl(unpacked.Field(u"比赛得分")) == 12.5) ++full_rows;
    }
    if (stage == 3) EXPECT_EQ(full_rows, 39);
  }
  c.Close();
}

}  // namespace
}  // namespace arenix::meet
