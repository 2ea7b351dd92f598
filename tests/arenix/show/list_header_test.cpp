// Header rows, the width-fixing row and the no-record row as whole texts.
#include <gtest/gtest.h>

#include "arenix/show/list_header.h"
#include "automation/error.h"
#include "list_call.h"

namespace arenix::show {
namespace {

using testing::ListCallText;
using testing::U8;

TEST(ListHeader, ColumnsWithWidthsSpansAndBackgrounds) {
  struct Case {
    const char16_t* list;
    int16_t height;
    const char16_t* row_class;
    const char* expected;
  } cases[] = {
      {u"序号|40$姓名|80|1|2$成绩|*|2|1|excel", 30, u"class =titlebg",
       "<tr align='center'  height=30 class =titlebg  ><td align='center'  Width='40'>序号</td>"
       "<td align='center'  Width='80' RowSpan='2'>姓名</td>"
       "<td align='center'  Width='*' ColSpan='2' bgcolor=#b5f9de>成绩</td></tr>"},
      {u"a|80%$b|1$c|0|1|1| #ff0000 $d|x|3|1|r", 0, u"  ",
       "<tr align='center'  ><td align='center'  Width='80%'>a</td><td align='center' >b</td>"
       "<td align='center'  bgcolor=#ff0000>c</td><td align='center'  ColSpan='3'>d</td></tr>"},
      {u"  ", 30, u"class =titlebg", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.list));
    EXPECT_EQ(U8(TableHeader(c.list, c.height, c.row_class)), c.expected);
  }
  EXPECT_EQ(ListCallText(u"CommShowTableHeader", {Variant(u"x|50")}),
            "<tr align='center'  height=30 class =titlebg  ><td align='center'  Width='50'>x</td></tr>");
  try {
    TableHeader(u"序号|40$姓名");
    ADD_FAILURE() << "a caption without a width was accepted";
  } catch (const automation::Error& e) {
    EXPECT_EQ(e.number(), automation::err::kSubscript);
  }
}

TEST(ListHeader, EmptyRowAndNoRecordRow) {
  EXPECT_EQ(U8(TableHeaderEmpty(u"40|80|*")),
            "<tr class=tdbg height=0><td width='40'></td><td width='80'></td><td width='*'></td></tr>");
  EXPECT_EQ(U8(TableHeaderEmpty(u"")), "<tr class=tdbg height=0></tr>");
  EXPECT_EQ(ListCallText(u"CommShowNoRecord", {Variant(int16_t{6})}),
            "<tr  Class=tdbg><td ColSpan=6 Height=30 Align=Center><Font Color=Red>没有符合条件的数据。"
            "</Font></td></tr>");
  EXPECT_EQ(ListCallText(u"CommShowNoRecord", {Variant(u"3"), Variant(true), Variant(u"无成绩")}),
            "<tr ><td ColSpan=3 Height=30 Align=Center><Font Color=Red>无成绩</Font></td></tr>");
}

}  // namespace
}  // namespace arenix::show
