// A whole list page built from the list pieces parses as browsers parse
// it, and hostile request values echoed by the paging bar and the keyword
// box stay values.
#include <gtest/gtest.h>

#include "arenix/show/grid_row.h"
#include "arenix/show/list_header.h"
#include "arenix/show/paging.h"
#include "arenix/show/search_frame.h"
#include "arenix/show/search_select.h"
#include "arenix/show/spacer.h"
#include "list_db.h"
#include "support/html_check.h"

namespace arenix::show {
namespace {

using testing::ListDb;
using testing::ListRequest;

TEST(ListParse, ListPageParsesWithHostileRequestValues) {
  ListDb db;
  db.MakePeople(25);
  Variant rs = db.Open(u"select * from people");
  ListRequest req(
      u"Page=2&keyword=%27%3E%3Cscript%3Ex%3C/script%3E&ClassID=1%20onload%3Dx%3E%3Cb%3E&moden=name%22"
      u"&grp=%3C/form%3E");
  NoPage(req.var, rs);
  Text rows;
  auto& records = automation::ObjectCast<data::Recordset>(rs);
  for (int16_t n = 1; n <= records.PageSize() && !records.Eof(); ++n, records.MoveNext()) {
    rows += GridTr(n) + u"<td>" + automation::CStr(records.Field(u"name")) + u"</td><td>1</td></tr>";
  }
  const Text page = u"<!doctype html><html><head><meta charset=utf-8><title>名单</title></head><body>" +
                    SearchLeft(u"form", u"", kSearchCellClass) +
                    SearchSelect(req.var, 0, u"name|姓名||city|城市") + Spaces(2) +
                    u"<input type=submit value=搜索>" + SearchRight(u"form") + ColorLine(760, 1, u"#336699") +
                    u"<table>" + TableHeaderEmpty(u"40|*") + TableHeader(u"姓名|40$城市|*") + rows +
                    NoRecord(u"2") + u"</table>" + PageBar(req.var, rs, u"grp") + u"</body></html>";
  const auto errors = arenix::testing::HtmlParseErrors({automation::ToUtf8(page)});
  ASSERT_EQ(errors.size(), 1u);
  // The search frame closes its form after the cell, as the site's pages
  // expect; browsers keep such a form working, and that is the only repair.
  for (const auto& e : errors[0]) {
    if (e.code == "end-tag-without-matching-open-element" && e.near.find("</td></form>") != std::string::npos) {
      continue;
    }
    ADD_FAILURE() << e.code << " near " << e.near;
  }
}

}  // namespace
}  // namespace arenix::show
