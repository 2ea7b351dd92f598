// The field selector, the keyword box and the search/order fragment, and
// the fragment run in a real statement: a keyword can search but never
// change the statement.
#include <gtest/gtest.h>

#include "arenix/show/search_order.h"
#include "arenix/show/search_select.h"
#include "automation/error.h"
#include "list_call.h"
#include "list_db.h"

namespace arenix::show {
namespace {

using testing::ListDb;
using testing::ListRequest;
using testing::U8;

TEST(ListSearch, SelectorMarksTheChosenFieldAndEchoesTheKeywordEscaped) {
  const std::string box =
      "</select>&nbsp;  关键字：<input type='text' name='keyword' size='10' maxlength='12' value='";
  struct Case {
    const char16_t* query;
    int16_t type;
    const char16_t* list;
    std::string expected;
  } cases[] = {
      {u"moden=name&keyword=%D5%C5", 0, u"name|姓名||city|城市",
       "<select name='moden' class='inputselect'><option value=''>-=请选择查询项目(并排序)=-</option>"
       "<option  value='name'  selected >姓名</option><option  value='city' >城市</option>" + box +
           "张'>"},
      {u"", 1, u"id|编号", "<select name='moden' class='inputselect'><option value=''>-=请选择查询项目=-"
                          "</option><option  value='id' >编号</option>" + box + "'>"},
      {u"", 2, u"", "<select name='moden' class='inputselect'><option value=''>-=请选择排序项目=-</option>" +
                       box + "'>"},
      {u"keyword=%27%3E%3Cscript%3E", 7, u"a|A",
       "<select name='moden' class='inputselect'><option  value='a' >A</option>" + box +
           "&#39;&gt;&lt;script&gt;'>"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.query));
    ListRequest req(c.query);
    EXPECT_EQ(U8(SearchSelect(req.var, c.type, c.list)), c.expected);
  }
  ListRequest req;
  try {
    SearchSelect(req.var, 0, u"name|姓名||city");
    ADD_FAILURE() << "an entry without a caption was accepted";
  } catch (const automation::Error& e) {
    EXPECT_EQ(e.number(), automation::err::kSubscript);
  }
}

TEST(ListSearch, OrderFragmentForFieldsTablesAndDefaults) {
  struct Case {
    const char16_t* query;
    OrderRequest order;
    const char* expected;
  } cases[] = {
      {u"", {u"", u"name", u"", u""}, " And [name] Like '%%'   Order By [name]"},
      {u"", {u"", u"id", u"", u""}, " And [id] Like '%%'   Order By [id] Desc"},
      {u"", {u"", u"dateandtime", u"", u"", u"T"},
       " And [T].[dateandtime] Like '%%'   Order By [T].[dateandtime] Desc"},
      {u"", {u"", u"Content", u"", u"张"}, " And [Content] Like '%张%'   Order By [id]"},
      {u"", {u"bh Asc", u"", u"", u""}, " Order By bh Asc"},
      {u"", {u"", u"", u"", u""}, " Order By ID Desc"},
      // From the request: the field lower-cased, the placeholder searching nothing.
      {u"moden=Score&keyword=%B9%D8%BC%FC%D7%D6%CB%D1%CB%F7", {u"", u"", u"rank||score", u""},
       " And [score] Like '%%'   Order By [score] Desc"},
      {u"moden=name&keyword=Li", {u"", u"", u"", u""}, " And [name] Like '%Li%'   Order By [name]"},
      {u"moden=name&keyword=Li", {u"", u"", u"", u"Wu"}, " And [name] Like '%Wu%'   Order By [name]"},
      {u"moden=Name", {u"", u"", u"Name", u""}, " And [name] Like '%%'   Order By [name]"},
      // A quote in the keyword stays inside the literal.
      {u"moden=name&keyword=O%27Neil%27%20or%201%3D1", {u"", u"", u"", u""},
       " And [name] Like '%O''Neil'' or 1=1%'   Order By [name]"},
      // Field names that are not plain column names: default order, no condition.
      {u"moden=name%5D%3Bdelete", {u"bh", u"", u"", u""}, " Order By bh"},
      {u"moden=a%27b", {u"", u"", u"", u""}, " Order By ID Desc"},
      {u"moden=name%20or%201%3D1", {u"", u"", u"", u""}, " Order By ID Desc"},
      {u"", {u"", u"[name]", u"", u""}, " Order By ID Desc"},
      {u"", {u"", u"比赛成绩", u"", u"9"}, " And [比赛成绩] Like '%9%'   Order By [比赛成绩]"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.query) + " / " + U8(c.order.field));
    ListRequest req(c.query);
    EXPECT_EQ(U8(SearchOrder(req.var, c.order)), c.expected);
  }
  // By name, with the optional table left out.
  ListRequest req(u"moden=city");
  EXPECT_EQ(testing::ListCallText(u"CommGetOrderString",
                                  {req.var, Variant(u""), Variant(u""), Variant(u""), Variant(u"")}),
            " And [city] Like '%%'   Order By [city]");
}

TEST(ListSearch, FragmentRunsInTheStatementAndKeepsLikeWildcards) {
  ListDb db;
  db.Execute(u"CREATE TABLE people FREE (id I, name C(20))");
  db.Execute(u"INSERT INTO people (id, name) VALUES (1, 'O''Neil')");
  db.Execute(u"INSERT INTO people (id, name) VALUES (2, 'Li_Ming')");
  db.Execute(u"INSERT INTO people (id, name) VALUES (3, 'LiXMing')");
  db.Execute(u"INSERT INTO people (id, name) VALUES (4, '50% off')");
  struct Case {
    const char16_t* query;
    std::vector<int> ids;
  } cases[] = {
      {u"moden=name&keyword=O%27Neil", {1}},
      {u"moden=name&keyword=Li_M", {3, 2}},  // "_" still matches any one character
      {u"moden=name&keyword=%25", {4, 3, 2, 1}},  // "%" still matches anything
      {u"moden=name&keyword=%27%20or%20%271%27%3D%271", {}},
      {u"moden=name%5D%20%3D%20name%20or%20%5Bname&keyword=x", {4, 3, 2, 1}},  // default order only
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.query));
    ListRequest req(c.query);
    const Text sql = u"select id from people where 1=1" + SearchOrder(req.var, {u"id Desc", u"", u"", u""});
    Variant rs = db.Open(sql);
    auto& records = automation::ObjectCast<data::Recordset>(rs);
    std::vector<int> ids;
    for (; !records.Eof(); records.MoveNext()) ids.push_back(automation::CLng(records.Field(u"id")));
    EXPECT_EQ(ids, c.ids);
  }
}

}  // namespace
}  // namespace arenix::show
