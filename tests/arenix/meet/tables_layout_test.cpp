// The meet tables' shared knowledge: stage numbers and names, the packed
// stage field (in C++ and in the engine's statements, which must agree),
// stored results with their sort keys and special values, and the filters.
#include <gtest/gtest.h>

#include "arenix/meet/filters.h"
#include "arenix/meet/stage.h"
#include "arenix/meet/stage_field.h"
#include "arenix/meet/stored_result.h"
#include "automation/cp936.h"
#include "automation/error.h"
#include "data/sql_text.h"
#include "tables_meet_folder.h"

namespace arenix::meet {
namespace {

using automation::ToGbk;
using automation::Variant;
using testing::TablesFolder;

TEST(Stages, NamesNumbersAndNeighbours) {
  EXPECT_EQ(StageName(1), u"预赛");
  EXPECT_EQ(StageName(2), u"次赛");
  EXPECT_EQ(StageName(3), u"复赛");
  EXPECT_EQ(StageName(4), u"决赛");
  EXPECT_EQ(StageName(0), u"");
  EXPECT_EQ(StageName(PageStage(0)), u"决赛");
  EXPECT_EQ(StageNumber(u"次赛"), 2);
  EXPECT_EQ(StageNumber(u"决"), 0);
  EXPECT_EQ(StageFieldColumn(PageStage(0)), u"决赛信息");
  EXPECT_EQ(StagesOfEvent(3), (std::vector<int>{1, 3, 4}));
  EXPECT_TRUE(StagesOfEvent(5).empty());

  struct Case {
    int count, stage;
    const char16_t *previous, *next;
  } cases[] = {
      {1, 4, u"", u""},     {1, 1, u"", u""},     {2, 1, u"", u"决赛"},   {2, 4, u"预赛", u""},
      {3, 1, u"", u"复赛"}, {3, 3, u"预赛", u"决赛"}, {3, 4, u"复赛", u""}, {4, 1, u"", u"次赛"},
      {4, 2, u"预赛", u"复赛"}, {4, 3, u"次赛", u"决赛"}, {4, 4, u"复赛", u""},
      {2, 2, u"", u""},     {3, 2, u"", u""},     {5, 1, u"", u""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(StageNeighbours(c.count, c.stage), (Neighbours{c.previous, c.next}))
        << c.count << " stages, stage " << c.stage;
}

StageColumns FullColumns() {
  StageColumns c;
  c.order = 104;
  c.heat = 1;
  c.lane = -1;
  c.heat_info = u"001008";
  c.result = u"   10230 ";
  c.place = 2;
  c.heat_place = 12;
  c.points = 7.5;
  c.grade = u"一级";
  c.team = u"第一中学";
  c.advanced = true;
  c.record = false;
  c.call_room = u"犯规";
  c.remark = u"预赛破纪录";
  c.wind = u"+1.2";
  c.details = Text(50, u'详');  // 100 positions: the whole details item
  return c;
}

TEST(StageField, PacksByCodePageBytes) {
  Text field = PackStageField(FullColumns());
  std::string bytes = ToGbk(field);
  ASSERT_EQ(bytes.size(), 237u);
  EXPECT_EQ(bytes.substr(0, 41), " 104   1  -1001008   10230    2  12   7.5");
  EXPECT_EQ(bytes.substr(41, 8), ToGbk(u"    一级"));
  EXPECT_EQ(bytes.substr(49, 60), std::string(52, ' ') + ToGbk(u"第一中学"));
  EXPECT_EQ(bytes.substr(109, 2), "TF");
  EXPECT_EQ(bytes.substr(111, 10), ToGbk(u"      犯规"));
  EXPECT_EQ(bytes.substr(121, 10), ToGbk(u"预赛破纪录"));
  EXPECT_EQ(bytes.substr(131, 6), "  +1.2");
  EXPECT_EQ(bytes.substr(137), ToGbk(Text(50, u'详')));
}

TEST(StageField, UnpackGivesBackEveryColumnOfEveryStage) {
  StageColumns c = FullColumns();
  for (int stage = 1; stage <= 4; ++stage) {
    c.order = stage * 100 + 3;
    EXPECT_EQ(UnpackStageField(PackStageField(c)), c) << StageName(stage).size();
  }
  // A drawn, not yet run stage: blank result, no place, no flags.
  StageColumns drawn;
  drawn.order = 203;
  drawn.heat = 2;
  drawn.lane = 3;
  drawn.heat_info = u"002016";
  drawn.result = Text(9, u' ');
  EXPECT_EQ(UnpackStageField(PackStageField(drawn)), drawn);
  EXPECT_EQ(PackStageField(drawn).substr(0, 18), u" 203   2   3002016");
}

TEST(StageField, ReadsAsResultEntryWroteIt) {
  // The flag test upper-cases first: a "t" at 110 reads as true, also
  // behind two-byte characters (positions count bytes).
  StageColumns c = FullColumns();
  c.advanced = false;
  Text field = PackStageField(c);
  size_t at = field.find(u"学FF");
  ASSERT_NE(at, Text::npos);
  field[at + 1] = u't';
  ASSERT_EQ(ToGbk(field).substr(109, 2), "tF");
  EXPECT_TRUE(UnpackStageField(field).advanced);
  EXPECT_FALSE(UnpackStageField(field).record);
  // Empty and short fields read as blanks.
  StageColumns empty = UnpackStageField(u"");
  EXPECT_EQ(empty.result, Text(9, u' '));
  EXPECT_EQ(empty.place, 0);
  EXPECT_FALSE(empty.advanced);
  EXPECT_EQ(UnpackStageField(u" 104   1   4").lane, 4);
  // Rounded points, garbage numbers read as 0.
  EXPECT_EQ(UnpackStageField(Text(35, u' ') + u"  6.96").points, 7.0);
  EXPECT_EQ(UnpackStageField(u"abcd").order, 0);
}

TEST(StageField, OverlongItemsKeepTheirRightEnd) {
  StageColumns c;
  c.order = 12345;           // Str then PADL 4: the rightmost four
  c.team = Text(31, u'队');  // 62 bytes in 60: the half character becomes "?"
  c.remark = u"abcdefghijkl";
  c.result = u"1234567890";
  std::string bytes = ToGbk(PackStageField(c));
  ASSERT_EQ(bytes.size(), 237u);
  EXPECT_EQ(bytes.substr(0, 4), "2345");
  EXPECT_EQ(bytes.substr(49, 60), ToGbk(Text(30, u'队')));
  EXPECT_EQ(bytes.substr(121, 10), "cdefghijkl");
  EXPECT_EQ(bytes.substr(18, 9), "123456789");
  c.team = u"a" + Text(30, u'队');  // 61 bytes: the leading "a" goes
  EXPECT_EQ(UnpackStageField(PackStageField(c)).team, Text(30, u'队'));
  c.team = Text(30, u'队') + u"a";  // 61 bytes: half of the first character goes
  EXPECT_EQ(UnpackStageField(PackStageField(c)).team, u"?" + Text(29, u'队') + u"a");
}

TEST(StageField, StatementsAgreeWithTheCode) {
  TablesFolder db({"Play"});
  StageColumns c = FullColumns();
  c.details = u"详情 " + Text(40, u'x');
  // Pack in the engine from the current-stage columns...
  db.Exec(u"Insert Into Play (ID, 编号, 参赛项目, 年龄组, 性别, 决赛信息) Values "
          u"('1', '1', '100米', '甲组', .T., ' 104   1  -1001008')");
  db.Exec(u"Update [Play] Set 比赛成绩='   10230 ', 比赛名次=2, 比赛组名次=12, 比赛得分=7.5, 比赛等级='一级', "
          u"比赛团队='第一中学', 比赛晋级=.T., 比赛破记录=.F., 比赛检录='犯规', 比赛备注='预赛破纪录', "
          u"比赛风速='+1.2', 比赛详情=" + data::SqlText(c.details));
  ASSERT_EQ(db.Exec(u"Update [Play] Set 决赛信息=" + StageFieldPackExpression(u"决赛信息") + u" Where ID='1'"), 1);
  EXPECT_EQ(ToGbk(automation::CStr(db.Value(u"Select 决赛信息 From Play"))), ToGbk(PackStageField(c)));

  // ...unpack in the engine into the columns...
  db.Exec(u"Update [Play] Set 比赛序号=0, 比赛名次=0, 比赛团队='', 比赛晋级=.F., 比赛得分=0, 比赛详情=''");
  db.Exec(u"Update [Play] Set " + StageFieldUnpackSet(u"决赛信息") + u" Where ID='1'");
  auto row = db.Query(u"Select 比赛序号, 比赛道次, 比赛成绩, 比赛名次, 比赛得分, 比赛团队, 比赛晋级, 比赛详情 From Play")[0];
  EXPECT_EQ(row[0], Variant(int32_t{104}));
  EXPECT_EQ(row[1], Variant(int32_t{-1}));
  EXPECT_EQ(row[2], Variant(Text(u"   10230 ")));
  EXPECT_EQ(row[3], Variant(int32_t{2}));
  EXPECT_EQ(automation::CDbl(row[4]), 7.5);
  EXPECT_EQ(automation::RTrim(automation::CStr(row[5])), u"第一中学");
  EXPECT_EQ(row[6], Variant(true));
  EXPECT_EQ(automation::RTrim(automation::CStr(row[7])), c.details);

  // ...and select the same values directly.
  auto sel = db.Query(u"Select " + StageFieldSelectList(u"决赛信息") + u" From [Play]")[0];
  ASSERT_EQ(sel.size(), 17u);
  EXPECT_EQ(sel[0], Variant(int32_t{104}));
  EXPECT_EQ(sel[5], Variant(int32_t{2}));
  EXPECT_EQ(sel[6], Variant(int32_t{2}));  // 排序名次
  EXPECT_EQ(automation::CDbl(sel[8]), 7.5);
  EXPECT_EQ(sel[11], Variant(true));
  EXPECT_EQ(sel[12], Variant(false));
}

TEST(StageField, SelectListIsTheWordingPagesRead) {
  EXPECT_EQ(StageFieldSelectList(u"决赛信息"),
            u"Cast(Int(Val(SubStr(决赛信息,1,4))) As I) As 比赛序号,Cast(Int(Val(SubStr(决赛信息,5,4))) As I) "
            u"As 比赛组次,Cast(Int(Val(SubStr(决赛信息,9,4))) As I) 比赛道次,Cast(AllTrim(SubStr(决赛信息,13,6)) "
            u"As C(6)) As 比赛组人数,Cast(SubStr(决赛信息,19,9) As C(9)) As 比赛成绩,Cast(Int(Val(SubStr(决赛信息,"
            u"28,4))) As I) As 比赛名次,Cast(Iif(Int(Val(SubStr(决赛信息,28,4)))=0,9999,Int(Val(SubStr(决赛信息,"
            u"28,4)))) As I) As 排序名次,Cast(Int(Val(SubStr(决赛信息,32,4))) As I) As 比赛组名次,Cast(Round(Val("
            u"SubStr(决赛信息,36,6)),1) As Numeric(6,1)) As 比赛得分,Cast(AllTrim(SubStr(决赛信息,42,8)) As C(8)) "
            u"As 比赛等级,Cast(AllTrim(SubStr(决赛信息,50,60)) As C(60)) As 比赛团队,Iif(Upper(SubStr(决赛信息,110,"
            u"1))=='T',.T.,.F.) As 比赛晋级,Iif(Upper(SubStr(决赛信息,111,1))=='T',.T.,.F.) As 比赛破记录,Cast("
            u"AllTrim(SubStr(决赛信息,112,10)) As C(10)) As 比赛检录,Cast(AllTrim(SubStr(决赛信息,122,10)) As "
            u"C(10)) As 比赛备注,Cast(AllTrim(SubStr(决赛信息,132,6)) As C(6)) As 比赛风速,Cast(AllTrim(SubStr("
            u"决赛信息,138,100)) As C(100)) As 比赛详情");
  EXPECT_TRUE(StageFieldPackExpression(u"预赛信息").starts_with(u"SubStr(预赛信息,1,18)+比赛成绩+PADL(Str(比赛名次),4)+"));
}

// One item read or written in place by the save, the points and the
// advancement, and the widths the schema takes for the columns.
TEST(StageField, OneItemByItsColumn) {
  EXPECT_EQ(StageItemSlice(u"预赛信息", u"比赛破记录"), u"SubStr(预赛信息,111,1)");
  EXPECT_EQ(StageItemSlice(u"决赛信息", u"比赛等级"), u"SubStr(决赛信息,42,8)");
  EXPECT_EQ(StageItemStuff(u"决赛信息", u"比赛成绩", u"x"), u"STUFF(决赛信息,19,9,x)");
  EXPECT_EQ(StageItemWidth(u"比赛团队"), 60);
  for (auto bad : {u"排序名次", u"", u"决赛信息"}) {
    EXPECT_THROW(StageItemSlice(u"决赛信息", bad), automation::Error);
    EXPECT_THROW(StageItemWidth(bad), automation::Error);
  }
}

TEST(StageField, SubEventSlots) {
  EXPECT_EQ(SubEventSlot(u"    1185 ", 812), u"    1185   812 ");
  EXPECT_EQ(SubEventSlot(u"", 0), Text(9, u' ') + u"    0 ");
  EXPECT_EQ(SubEventSlotStart(1), 1);
  EXPECT_EQ(SubEventSlotStart(3), 31);
}

TEST(StoredResult, LayoutsAndSortKeys) {
  struct Case {
    ResultLayout layout;
    std::array<TextView, 4> parts;
    const char16_t* stored;
    const char16_t* key;
  } cases[] = {
      {ResultLayout::kField, {u"12", u"34"}, u"    1234 ", u"000012340"},          // 12.34 m
      {ResultLayout::kField, {u" 5 ", u"6"}, u"     56  ", u"000005600"},          // 5.6 m, parts trimmed
      {ResultLayout::kTime, {u"", u"10", u"5"}, u"    105  ", u"000010500"},        // 10.5 s
      {ResultLayout::kTime, {u"", u"10", u"12"}, u"    1012 ", u"000010120"},       // 10.12 s
      {ResultLayout::kTime, {u"1", u"02", u"30"}, u"   10230 ", u"000102300"},      // 1:02.30
      {ResultLayout::kTimeWithHours, {u"2", u"15", u"30", u"0"}, u" 215300  ", u"021530000"},
      {ResultLayout::kCustom, {u"7856"}, u"     7856", u"000007856"},
      {ResultLayout::kCombinedTotal, {u"3012"}, u"     3012", u"000003012"},
      {ResultLayout::kTime, {}, u"         ", u"000000000"},                       // nothing typed
      // Overlong parts keep the end their slot is aligned to.
      {ResultLayout::kTime, {u"123", u"456", u"789"}, u"  235678 ", u"002356780"},
      {ResultLayout::kField, {u"123", u"4567"}, u"    2345 ", u"000023450"},
      {ResultLayout::kTimeWithHours, {u"", u"", u"", u"12345"}, u"      123", u"000000123"},
      {ResultLayout::kCustom, {u"12345678901"}, u"345678901", u"345678901"},
  };
  for (const Case& c : cases) {
    Text stored = ComposeStoredResult(c.layout, c.parts);
    EXPECT_EQ(stored, c.stored) << automation::ToUtf8(c.stored);
    EXPECT_EQ(SortKeyOf(stored), c.key) << automation::ToUtf8(c.stored);
  }
  EXPECT_EQ(SortKeyOf(u""), kNoResultKey);
  EXPECT_TRUE(IsEmptyResult(u"         "));
  EXPECT_TRUE(IsEmptyResult(u""));
  EXPECT_FALSE(IsEmptyResult(u"    1234 "));
}

TEST(StoredResult, LayoutOfAnEvent) {
  EXPECT_EQ(LayoutOf(u"###个", u"田赛", 1, 1), ResultLayout::kCustom);
  EXPECT_EQ(LayoutOf(u"  ", u"全能", 1, 1), ResultLayout::kCombinedTotal);
  EXPECT_EQ(LayoutOf(u"", u"田赛", 1, 2), ResultLayout::kField);
  EXPECT_EQ(LayoutOf(u"", u"田赛", 2, 1), ResultLayout::kTime);  // edition 2 times everything
  EXPECT_EQ(LayoutOf(u"", u"径赛", 1, 2), ResultLayout::kTimeWithHours);
  EXPECT_EQ(LayoutOf(u"", u"径赛", 1, 1), ResultLayout::kTime);
}

TEST(StoredResult, SpecialKeysAndReadings) {
  EXPECT_EQ(TimedEliminatedKey(9), u"999996009");
  EXPECT_EQ(TimedQualifiedNoResultKey(1), u"999998000");
  EXPECT_EQ(TimedQualifiedNoResultKey(2), u"999999998");
  EXPECT_EQ(TimedQualifiedNoResultKey(3), u"999997000");
  EXPECT_EQ(TimedQualifiedNoResultKey(4), u"");
  EXPECT_EQ(FieldEliminatedKey(8, 10), u"000000008");
  EXPECT_EQ(FieldQualifiedKey(8, 3), u"000000005");
  EXPECT_EQ(ZeroFilledKey(-3), u"0000000-3");
  EXPECT_EQ(GroupedKey(1, u"000010500"), u"100010500");
  // Every special timed key sorts after every real time; eliminated field
  // entrants sort below every real mark (descending order).
  EXPECT_LT(Text(u"595959999"), Text(TimedEliminatedKey(1)));
  EXPECT_LT(Text(FieldEliminatedKey(8, 1)), Text(u"000000500"));  // 0.50 m
  EXPECT_DOUBLE_EQ(SecondsOfKey(u"000102300"), 62.3);
  EXPECT_DOUBLE_EQ(SecondsOfKey(u"021530000"), 2 * 3600 + 15 * 60 + 30);
  EXPECT_DOUBLE_EQ(MetresOfKey(u"000012340"), 12.34);
  EXPECT_EQ(PlaceForOrdering(0), 9999);
  EXPECT_EQ(PlaceForOrdering(3), 3);
  EXPECT_TRUE(IsTimedRow(u"径赛", u"", 1));
  EXPECT_TRUE(IsTimedRow(u"田赛", u"", 2));
  EXPECT_TRUE(IsTimedRow(u"全能", u"100米", 1));
  EXPECT_FALSE(IsTimedRow(u"全能", u"跳远", 1));
  EXPECT_FALSE(IsTimedRow(u"田赛", u"", 1));
}

TEST(Filters, PickOneEventsRows) {
  EXPECT_EQ(EventFilter(u"100米", u"甲组", u"男"), u"AllTrim(参赛项目)=='100米' And AllTrim(年龄组)=='甲组' And 性别=.T.");
  EXPECT_EQ(EventFilter(u"100米", u"甲组", u"女"), u"AllTrim(参赛项目)=='100米' And AllTrim(年龄组)=='甲组' And 性别=.F.");
  EXPECT_EQ(EventFilter(u"混合接力", u"甲组", u"男"), u"AllTrim(参赛项目)=='混合接力' And AllTrim(年龄组)=='甲组'");
  EXPECT_EQ(EventFilter(u"混合接力", u"甲组", u"男", u""), u"AllTrim(参赛项目)=='混合接力' And AllTrim(年龄组)=='甲组' And 性别=.T.");
  EXPECT_EQ(EntryFilter(u"四项全能", u"甲组", u"混", u"跳远"),
            u"AllTrim(参赛项目)=='四项全能' And AllTrim(年龄组)=='甲组' And AllTrim(参赛子项目)=='跳远'");

  // On real rows, with a quote in a value: the statement selects exactly
  // the rows of that event and sex.
  TablesFolder db({"Play"});
  db.Exec(u"Insert Into Play (ID, 参赛项目, 年龄组, 性别, 参赛子项目) Values ('1', 'O''Neil杯', '甲组', .T., '')");
  db.Exec(u"Insert Into Play (ID, 参赛项目, 年龄组, 性别, 参赛子项目) Values ('2', 'O''Neil杯', '甲组', .F., '')");
  db.Exec(u"Insert Into Play (ID, 参赛项目, 年龄组, 性别, 参赛子项目) Values ('3', 'O''Neil杯', '甲组', .T., '跳远')");
  auto ids = [&](const Text& filter) {
    Text out;
    for (auto& r : db.Query(u"Select ID From Play Where " + filter + u" Order By ID"))
      out += automation::Trim(automation::CStr(r[0]));
    return out;
  };
  EXPECT_EQ(ids(EntryFilter(u"O'Neil杯", u"甲组", u"男", u"")), u"1");
  EXPECT_EQ(ids(EventFilter(u"O'Neil杯", u"甲组", u"男")), u"13");
  EXPECT_EQ(ids(EntryFilter(u"O'Neil杯", u"甲组", u"女", u"")), u"2");
  EXPECT_EQ(ids(EntryFilter(u"O'Neil杯' Or '1'='1", u"甲组", u"男", u"")), u"");
}

}  // namespace
}  // namespace arenix::meet
