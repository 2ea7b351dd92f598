// Stored results as the result pages show them: every worked example and
// edge case of the formatter, and the row form reading a Play row of a real
// table through the record set, as the pages call it by name.
#include <gtest/gtest.h>

#include "arenix/frame/arenix_cls.h"
#include "arenix/meet/result_format.h"
#include "tables_meet_folder.h"

namespace arenix::meet {
namespace {

using testing::TablesFolder;

TEST(ResultFormat, WorkedExamplesAndEdgeCases) {
  struct Case {
    const char16_t *kind, *format, *stored;
    int edition, style;
    const char16_t* shown;
  } cases[] = {
      {u"径赛", u"", u"    1012 ", 1, 1, u"10”12"},
      {u"径赛", u"", u"   10230 ", 1, 1, u"1’02”30"},
      {u"径赛", u"", u"     987 ", 1, 1, u"9”87"},  // no minutes, no leading zero
      {u"径赛", u"", u"    105  ", 1, 1, u"10”50"},
      {u"径赛", u"", u"   1 230 ", 1, 1, u"1’02”30"},   // seconds typed without their zero
      {u"径赛", u"", u" 12 0 5  ", 1, 1, u"12’00”50"},  // whole minutes keep "00" seconds
      {u"田赛", u"", u"    1234 ", 1, 1, u"    12．34 米"},  // leading blanks kept
      {u"田赛", u"", u"000012340", 1, 1, u"12．340米"},
      {u"田赛", u"", u"     56  ", 1, 1, u"     5．6  米"},
      {u"田赛", u"", u"000000340", 1, 1, u"．340米"},  // the zero goes with the marker
      {u"田赛", u"", u"    1234 ", 2, 1, u"12”34"},  // edition 2: every event is timed
      {u"径赛", u"", u" 215300  ", 1, 2, u"02：15：30．000"},
      {u"径赛", u"", u"  15302  ", 1, 2, u"15：30．200"},  // no hours
      {u"径赛", u"", u"    302  ", 1, 2, u"：30．200"},
      {u"田赛", u"####个", u"     7856", 1, 1, u"7856个"},
      {u"田赛", u"####", u"     7856", 1, 1, u"7856"},  // only "#": nothing after
      {u"全能", u"", u"     3012", 1, 1, u"3012分"},
      {u"径赛", u"", u"         ", 1, 1, u""},
      {u"全能", u"", u"", 1, 1, u""},
      {u"田赛", u"###个", u"   ", 1, 2, u""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FormatResult(c.kind, c.format, c.stored, c.edition, c.style), c.shown)
        << automation::ToUtf8(c.kind) << " [" << automation::ToUtf8(c.stored) << "] edition " << c.edition
        << " style " << c.style;
}

TEST(ResultFormat, RowFormReadsThePlayRowByName) {
  TablesFolder db({"Play"});
  db.Exec(u"Insert Into Play (ID, 径赛田赛, 自定义格式, 比赛成绩, 前赛成绩) Values ('1', '径赛', '', '   10230 ', '    1012 ')");
  db.Exec(u"Insert Into Play (ID, 径赛田赛, 自定义格式, 比赛成绩, 前赛成绩) Values ('2', '田赛', '###个', '      186', '')");
  db.Exec(u"Insert Into Play (ID, 径赛田赛, 比赛成绩) Values ('3', '田赛', '000012340')");
  Variant rs(automation::CreateObject(u"Adodb.RecordSet"));
  automation::ObjectCast<data::Recordset>(rs).Open(u"Select * From Play Order By ID", db.conn, 1, 1);

  ArenixCls cls;
  auto show = [&](const char16_t* column) {
    Variant edition(int16_t{1}), style(int16_t{1}), col{Text(column)};
    Variant* args[] = {&rs, &edition, &style, &col};
    return automation::CStr(CallMethod(cls, u"CommShowFormatCj", args));
  };
  EXPECT_EQ(show(u"比赛成绩"), u"1’02”30");
  EXPECT_EQ(show(u"前赛成绩"), u"10”12");
  automation::ObjectCast<data::Recordset>(rs).MoveNext();
  // The unit comes from the padded column as it is.
  EXPECT_EQ(automation::RTrim(show(u"比赛成绩")), u"186个");
  EXPECT_EQ(show(u"前赛成绩"), u"");
  automation::ObjectCast<data::Recordset>(rs).MoveNext();
  EXPECT_EQ(show(u"比赛成绩"), u"12．340米");
  EXPECT_THROW(show(u"没有的列"), automation::Error);

  // A Null result shows as the empty text.
  Variant nulls(automation::CreateObject(u"Adodb.RecordSet"));
  automation::ObjectCast<data::Recordset>(nulls).Open(
      u"Select 径赛田赛, 自定义格式, Null As 比赛成绩 From Play Where ID='1'", db.conn, 1, 1);
  EXPECT_EQ(FormatResultOfRow(nulls, 1, 1, u"比赛成绩"), u"");

  // The text form takes its values as given and does not read the record set.
  Variant nothing(Text(u"")), edition(int16_t{1}), style(int16_t{1}), kind(Text(u"径赛")), format(Text(u"")),
      stored(Text(u"     987 "));
  Variant* args[] = {&nothing, &edition, &style, &kind, &format, &stored};
  EXPECT_EQ(CallMethod(cls, u"CommShowFormatCj_Sub", args), Variant(Text(u"9”87")));
}

}  // namespace
}  // namespace arenix::meet
