// Paging of list pages on a real record set: where CommShowNoPage puts the
// cursor and what the paging bar shows, for good and bad page numbers, and
// how request values are carried in the links and hidden fields.
#include <gtest/gtest.h>

#include "arenix/show/paging.h"
#include "automation/error.h"
#include "list_call.h"
#include "list_db.h"

namespace arenix::show {
namespace {

using testing::ListDb;
using testing::ListRequest;
using testing::U8;

// The bar around its counts and links when the request carries nothing.
const std::string kBarStart =
    "<table cellspacing=0 cellpadding=0 border=0 width='100%'><tr height=2><td></td></tr></table>"
    "<table class=Content_border cellpadding=0 cellspacing=1 boarder=0 width='100%' align=center>"
    "<tr align=center><td class='searchbg'><form method=post name='page' action='?'>";
const std::string kEmptyHidden =
    "<input type='hidden' name='ClassID'  value=''><input type='hidden' name='NClassID' value=''>"
    "<input type='hidden' name='SClassID' value=''>"
    "<input type='hidden' name='moden'    value=''><input type='hidden' name='search'   value=''>"
    "<input type='hidden' name='keyword'  value=''><input type='hidden' name='id'       value=''>"
    "<input type='hidden' name='type'     value=''><input type='hidden' name='subject'  value=''>"
    "<input type='hidden' name='grade'    value=''><input type='hidden' name='part'     value=''>";
const std::string kBarEnd =
    "</td></form></tr></table>"
    "<table cellspacing=0 cellpadding=0 border=0 width='100%'><tr height=2><td></td></tr></table>";
const std::string kCarry =
    "&id=&classid=&nclassid=&sclassid=&grade=&subject=&type=&moden=&search=&keyword=&part=";

std::string Bar(const std::string& counts_and_links, int page_box) {
  return kBarStart + counts_and_links +
         "<input type='text' name='page' size=2 maxlength=10  class=Content_border value=" +
         std::to_string(page_box) +
         ">&nbsp;<input type='submit' name='submit'  class=Content_border  value='Goto' size=2>" +
         kEmptyHidden + kBarEnd;
}

std::string PageBarOf(Variant& rs, TextView query) {
  ListRequest req(query);
  return U8(PageBar(req.var, rs, u""));
}

TEST(ListPaging, NoPagePositionsTheRequestedPageWithinRange) {
  ListDb db;
  db.MakePeople(45);  // 5 pages of 10
  struct Case {
    const char16_t* query;
    int32_t page;
  } cases[] = {
      {u"", 1},          {u"Page=0", 1},  {u"Page=-3", 1}, {u"Page=abc", 1},
      {u"page=2", 2},    {u"PAGE=4.7", 4}, {u"Page=99", 5},
      {u"Page=3abc", 1},  // not numeric: the first page (the bar reads the leading 3)
      {u"Page=%201,2", 5},  // thousands separator: 12, beyond the last page
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.query));
    Variant rs = db.Open(u"select * from people order by id");
    ListRequest req(c.query);
    NoPage(req.var, rs);
    auto& records = automation::ObjectCast<data::Recordset>(rs);
    EXPECT_EQ(records.AbsolutePage(), c.page);
    EXPECT_EQ(automation::CLng(records.Field(u"id")), (c.page - 1) * 10 + 1);
  }
}

TEST(ListPaging, NoPageLeavesAnEmptySetTakesHugeNumbersAsTheLastPageAndRefusesClosedInput) {
  ListDb db;
  db.MakePeople(3);
  Variant empty = db.Open(u"select * from people where id > 100");
  ListRequest two(u"Page=2");
  NoPage(two.var, empty);
  EXPECT_TRUE(automation::ObjectCast<data::Recordset>(empty).Eof());

  // A number past any page (past a whole number too) is the last page, a
  // number past a double no page number at all: the first. The positioning
  // and the bar agree.
  const std::pair<const char16_t*, int> huge_cases[] = {
      {u"Page=40000", 3}, {u"Page=99999999999999999999", 3}, {u"Page=1e400", 1}, {u"Page=-1e400", 1}};
  for (const auto& [query, page] : huge_cases) {
    SCOPED_TRACE(U8(query));
    Variant rs = db.Open(u"select * from people", 1);  // three pages
    ListRequest huge(query);
    NoPage(huge.var, rs);
    EXPECT_EQ(automation::ObjectCast<data::Recordset>(rs).AbsolutePage(), page);
    EXPECT_NE(automation::ToUtf8(PageBar(huge.var, rs, u"")).find("[第" + std::to_string(page) + "页]"),
              std::string::npos);
  }
  Variant rs = db.Open(u"select * from people");
  automation::ObjectCast<data::Recordset>(rs).Close();
  ListRequest one(u"Page=1");
  EXPECT_THROW(NoPage(one.var, rs), automation::Error);
  EXPECT_THROW(PageBar(one.var, rs, u""), automation::Error);
  Variant none(Text(u""));
  EXPECT_THROW(NoPage(one.var, none), automation::Error);
}

TEST(ListPaging, BarShowsCountsAndLinksForEachPosition) {
  ListDb db;
  db.MakePeople(45);
  Variant five = db.Open(u"select * from people");
  Variant one = db.Open(u"select * from people where id <= 4");
  Variant none = db.Open(u"select * from people where id > 100");
  const std::string links3 =
      "[<a href=\"?page=1" + kCarry + "\">首 页</a>] [<a href=\"?page=2" + kCarry +
      "\">上一页</a>] [<a href=\"?page=4" + kCarry + "\">下一页</a>] [<a href=\"?page=5" + kCarry +
      "\">尾 页</a>] ";
  const std::string last5 = "[<a href=\"?page=1" + kCarry + "\">首 页</a>] [<a href=\"?page=4" +
                            kCarry + "\">上一页</a>] [下一页] [尾 页] ";
  const std::string first5 = "[首 页] [上一页] [<a href=\"?page=2" + kCarry +
                             "\">下一页</a>] [<a href=\"?page=5" + kCarry + "\">尾 页</a>] ";
  const std::string counts5 = " [总数<b>45</b>] [共<b>5</b>页] ";
  struct Case {
    Variant* rs;
    const char16_t* query;
    std::string expected;
  } cases[] = {
      {&five, u"Page=3", Bar(counts5 + "[第3页] [10部/页] " + links3, 3)},
      {&five, u"page=3abc", Bar(counts5 + "[第3页] [10部/页] " + links3, 3)},
      {&five, u"Page=99", Bar(counts5 + "[第5页] [10部/页] " + last5, 5)},
      {&five, u"Page=-3", Bar(counts5 + "[第1页] [10部/页] " + first5, 1)},
      {&five, u"Page=x", Bar(counts5 + "[第1页] [10部/页] " + first5, 1)},
      {&one, u"", Bar(" [总数<b>4</b>] [共<b>1</b>页] [第1页] [10部/页] [首 页] [上一页] [下一页] [尾 页] ", 1)},
      {&none, u"Page=2", Bar(" [总数<b>0</b>] [共<b>0</b>页] [第0页] [10部/页] [首 页] [上一页] [下一页] [尾 页] ", 0)},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(U8(c.query));
    EXPECT_EQ(PageBarOf(*c.rs, c.query), c.expected);
  }
}

TEST(ListPaging, CarriedValuesAreEncodedWhereTheyLand) {
  ListDb db;
  db.MakePeople(25);
  Variant rs = db.Open(u"select * from people");
  ListRequest req(u"Page=2&keyword=%3Cscript%3E%27x%22&id=7&ClassID=1%20onclick%3Dalert(1)&grp=%D6%D0%26b");
  const std::string bar = U8(PageBar(req.var, rs, u" |grp| "));
  const std::string carry =
      "&id=7&classid=1%20onclick%3Dalert%281%29&nclassid=&sclassid=&grade=&subject=&type=&moden="
      "&search=&keyword=%3Cscript%3E%27x%22&part=&grp=%D6%D0%26b";
  EXPECT_NE(bar.find("[<a href=\"?page=1" + carry + "\">首 页</a>] "), std::string::npos) << bar;
  EXPECT_NE(bar.find("[<a href=\"?page=3" + carry + "\">尾 页</a>] "), std::string::npos) << bar;
  EXPECT_NE(bar.find("<input type='hidden' name='ClassID'  value=1&#32;onclick&#61;alert(1)>"),
            std::string::npos)
      << bar;
  EXPECT_NE(bar.find("<input type='hidden' name='keyword'  value='&lt;script&gt;&#39;x&quot;'>"),
            std::string::npos);
  EXPECT_NE(bar.find("<input type='hidden' name='id'       value='7'>"), std::string::npos);
  EXPECT_NE(bar.find("<input type='hidden' name='grp' value='中&amp;b'>" + kBarEnd), std::string::npos);
  EXPECT_EQ(bar.find("<script"), std::string::npos);
}

}  // namespace
}  // namespace arenix::show
