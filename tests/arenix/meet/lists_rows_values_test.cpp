// The result query's row from record sets that hold their values as a page
// may see them: Null in any column, places and points as numbers or as
// text, names with markup, and record sets without the columns a row does
// not need.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "arenix/meet/list_rows.h"
#include "automation/error.h"
#include "automation/text.h"
#include "data/data_errors.h"
#include "data/recordset.h"

namespace arenix::meet {
namespace {

using automation::Text;
using automation::ToUtf8;
using automation::Variant;

using Columns = std::vector<std::pair<Text, Variant>>;

// Entrant 7, 张三 of 一队, heat 1 lane 1, 10”12 in first place with 9
// points, unless `changes` says otherwise; columns named in `drop` left out.
Variant OneRow(const Columns& changes, const std::vector<Text>& drop = {}) {
  Columns columns = {
      {u"编号", Text(u"7   ")},          {u"运动员", Text(u"张三  ")},     {u"比赛团队", Text(u"")},
      {u"代表队", Text(u"一队")},         {u"比赛组次", int32_t{1}},        {u"比赛道次", int32_t{1}},
      {u"集体项目", false},               {u"编外队", false},               {u"编外队员", false},
      {u"径赛田赛", Text(u"径赛")},       {u"参赛项目", Text(u"100米")},    {u"参赛子项目", Text(u"")},
      {u"自定义格式", Text(u"")},         {u"比赛成绩", Text(u"    1012 ")}, {u"比赛名次", int32_t{1}},
      {u"比赛组名次", int32_t{1}},        {u"比赛得分", 9.0},               {u"比赛破记录", false},
  };
  for (const auto& [name, value] : changes)
    for (auto& column : columns)
      if (column.first == name) column.second = value;
  data::foxsql::Rows rows;
  rows.rows.emplace_back();
  for (const auto& [name, value] : columns) {
    if (std::find(drop.begin(), drop.end(), name) != drop.end()) continue;
    rows.names.push_back(name);
    rows.rows.back().push_back(value);
  }
  auto set = std::make_shared<data::StaticRecordset>();
  set->Load(std::move(rows));
  return Variant(automation::ObjectPtr(set));
}

const std::string kStart =
    "<tr align=center style='height:20px;' bgcolor='#eeeeff' onmouseover=\"this.style.backgroundColor="
    "'#cceecc'\"  onmouseout=\"this.style.backgroundColor='#eeeeff'\">";

TEST(ListsRowValues, QueryRowReadsNullNumbersAndTextAlike) {
  const QueryRowOptions final_round{1, 1, 1, 0, 4};
  struct Case {
    const char* label;
    Columns changes;
    std::string cells;  // everything after the row tag
  } cases[] = {
      {"as entered", {},
       "<td>7</td><td>张三</td><td>一队</td><td>1</td><td>1</td><td>10”12</td><td>1</td><td></td><td>9</td></tr>"},
      {"Null everywhere a row reads text",
       {{u"编号", Variant::Null()}, {u"运动员", Variant::Null()}, {u"代表队", Variant::Null()},
        {u"比赛组次", Variant::Null()}, {u"比赛道次", Variant::Null()}, {u"径赛田赛", Variant::Null()},
        {u"自定义格式", Variant::Null()}, {u"比赛成绩", Variant::Null()}, {u"比赛名次", Variant::Null()},
        {u"比赛得分", Variant::Null()}, {u"比赛破记录", Variant::Null()}},
       "<td></td><td></td><td></td><td></td><td></td><td></td><td></td><td></td><td></td></tr>"},
      {"place and points as text",
       {{u"比赛名次", Text(u" 2 ")}, {u"比赛得分", Text(u" 7.5 ")}, {u"比赛破记录", true}},
       "<td>7</td><td>张三</td><td>一队</td><td>1</td><td>1</td><td>10”12</td><td>2</td><td>√</td><td>7.5</td></tr>"},
      // A zero fraction goes; a fraction with a zero in it stays whole.
      {"points 9.00", {{u"比赛得分", Text(u"9.00")}},
       "<td>7</td><td>张三</td><td>一队</td><td>1</td><td>1</td><td>10”12</td><td>1</td><td></td><td>9</td></tr>"},
      {"points 10.05", {{u"比赛得分", Text(u"10.05")}},
       "<td>7</td><td>张三</td><td>一队</td><td>1</td><td>1</td><td>10”12</td><td>1</td><td></td><td>10.05</td></tr>"},
      {"points 100", {{u"比赛得分", 100.0}},
       "<td>7</td><td>张三</td><td>一队</td><td>1</td><td>1</td><td>10”12</td><td>1</td><td></td><td>100</td></tr>"},
      // A place of 0 or less is none, as text or as a number; without a
      // place, points of 0 are not shown but others are.
      {"place 0 as text", {{u"比赛名次", Text(u"000")}, {u"比赛得分", 0.0}},
       "<td>7</td><td>张三</td><td>一队</td><td>1</td><td>1</td><td>10”12</td><td></td><td></td><td></td></tr>"},
      {"place -1", {{u"比赛名次", int32_t{-1}}, {u"比赛得分", Text(u"0.0")}},
       "<td>7</td><td>张三</td><td>一队</td><td>1</td><td>1</td><td>10”12</td><td></td><td></td><td></td></tr>"},
      {"no place, points -1", {{u"比赛名次", int32_t{0}}, {u"比赛得分", -1.0}},
       "<td>7</td><td>张三</td><td>一队</td><td>1</td><td>1</td><td>10”12</td><td></td><td></td><td>-1</td></tr>"},
      {"a place of 1,000", {{u"比赛名次", Text(u"1,000")}},
       "<td>7</td><td>张三</td><td>一队</td><td>1</td><td>1</td><td>10”12</td><td>1,000</td><td></td><td>9</td></tr>"},
      // Markup in names and numbers is text; the marks keep their formats.
      {"markup in the names",
       {{u"编号", Text(u"7<i>")}, {u"运动员", Text(u"欧阳<b>'x'")}, {u"代表队", Text(u"\"一队\" & 二队")}},
       "<td>7&lt;i&gt;</td><td>欧阳&lt;b&gt;&#39;x&#39;</td><td>&quot;一队&quot; &amp; 二队</td><td>1</td><td>1</td>"
       "<td>10”12</td><td>1</td><td></td><td>9</td></tr>"},
      {"field mark with a custom unit", {{u"径赛田赛", Text(u"田赛")}, {u"自定义格式", Text(u"###<个>")},
                                         {u"比赛成绩", Text(u"      123")}},
       "<td>7</td><td>张三</td><td>一队</td><td>1</td><td>1</td><td>123&lt;个&gt;</td><td>1</td><td></td><td>9</td></tr>"},
      {"a team's row", {{u"集体项目", true}, {u"比赛团队", Text(u"一队A  ")}, {u"比赛成绩", Text(u"   34512 ")}},
       "<td>7</td><td>一队A</td><td>一队</td><td>1</td><td>1</td><td>3’45”12</td><td>1</td><td></td><td>9</td></tr>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    Variant rs = OneRow(c.changes);
    EXPECT_EQ(ToUtf8(QueryRow(rs, final_round)), kStart + c.cells);
  }
}

TEST(ListsRowValues, ColumnsAreReadOnlyWhereTheRowNeedsThem) {
  // Without the guest columns a row renders while guests are not marked;
  // asked to mark them, it fails as the record set does for a column it
  // lacks, rather than treating everyone as a regular entrant.
  Variant rs = OneRow({}, {u"编外队", u"编外队员", u"比赛团队"});
  EXPECT_EQ(ToUtf8(QueryRow(rs, {1, 1, 1, 0, 1})),
            kStart + "<td>7</td><td>张三</td><td>一队</td><td>1</td><td>1</td><td>10”12</td><td>1</td><td></td></tr>");
  try {
    QueryRow(rs, {1, 1, 1, 1, 1});
    ADD_FAILURE() << "a row was rendered without the guest columns";
  } catch (const automation::Error& e) {
    EXPECT_EQ(e.number(), data::kItemNotFound);
  }
  // The points column is read in the final only.
  Variant heats = OneRow({}, {u"比赛得分"});
  EXPECT_NO_THROW(QueryRow(heats, {1, 1, 1, 0, 1}));
  EXPECT_THROW(QueryRow(heats, {1, 1, 1, 0, 4}), automation::Error);
}

}  // namespace
}  // namespace arenix::meet
