// The spreadsheet export: its pieces as whole texts, the headers and the
// closing of the page's data, and a real spreadsheet program reading an
// export written as a page writes it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "arenix/show/export_sheet.h"
#include "automation/clock.h"
#include "automation/datetime.h"
#include "list_call.h"
#include "list_db.h"
#include "support/node.h"

namespace arenix::show {
namespace {

using testing::ListCallText;
using testing::ListDb;
using testing::U8;

const std::string kHead =
    "<head><meta http-equiv='Content-Type' content='text/html; charset=gbk'>"
    "<title>Meetora[运动会管理系统 版权所有]</title></head>";

TEST(ListExport, PiecesAsWholeTexts) {
  automation::ScopedClock clock(automation::MakeDate(2024, 5, 6, 14, 30, 0), 1);
  struct Case {
    const char16_t* method;
    std::vector<Variant> args;
    std::string expected;
  } cases[] = {
      {u"CommShowExcelHeader", {}, kHead},
      {u"CommShowExcelTop", {Variant(int16_t{5}), Variant(u"男子100米成绩")},
       "<table border='1'><tr align=center height=40><td colspan=5 bgcolor=#e8f24d>男子100米成绩</td></tr>"},
      {u"CommShowExcelTableHeader", {Variant(u"姓名$成绩")},
       "<tr align='center'  ><td align='center'  bgcolor=#b5f9de>姓名</td>"
       "<td align='center'  bgcolor=#b5f9de>成绩</td></tr>"},
      {u"CommShowExcelTableHeader", {Variant(u"项目|2,名次|1|2"), Variant(u",")},
       "<tr align='center'  ><td align='center'  ColSpan='2' bgcolor=#b5f9de>项目</td>"
       "<td align='center'  RowSpan='2' bgcolor=#b5f9de>名次</td></tr>"},
      {u"CommShowExcelTableHeader", {Variant(u"")}, ""},
      {u"CommShowExcelBottom", {Variant(int16_t{5})},
       "<tr align=center height=40><td colspan=5 bgcolor=65c8f2>来源：Meetora[运动会管理系统 版权所有]"
       "<br>导出时间：2024/5/6 14:30:00</td></tr></table>"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.method));
    EXPECT_EQ(ListCallText(c.method, c.args), c.expected);
  }
}

struct Export {
  std::shared_ptr<host::MemoryResponse> response = std::make_shared<host::MemoryResponse>();
  Variant var{automation::ObjectPtr(response)};
};

TEST(ListExport, TheFileNameHoldsNothingAFileNameOrTheHeaderCannot) {
  const std::pair<const char16_t*, const char*> cases[] = {
      {u"高中组男子组100米决赛成绩", "高中组男子组100米决赛成绩"},
      {u"&lt;b&gt;x&lt;/b&gt; &amp; y", "_b_x__b_ & y"},  // an encoded title, read as text first
      {u"a\r\nX-Evil: 1", "a__X-Evil_ 1"},
      {u"a;filename=b.asp", "a_filename=b.asp"},
      {u"..\\..\\boot.ini/\"?*|", ".._.._boot.ini_____"},
  };
  for (const auto& [title, name] : cases) EXPECT_EQ(U8(SheetFileName(title)), name) << U8(title);
}

TEST(ListExport, WholeExportSetsHeadersAndClosesThePagesData) {
  automation::ScopedClock clock(automation::MakeDate(2024, 5, 6, 14, 30, 0), 1);
  ListDb db;
  db.MakePeople(2);
  Variant rs = db.Open(u"select * from people");
  auto held_rs = rs.object();
  auto held_conn = db.conn.object();
  Export page;
  const Text text = SheetExport(db.conn, rs, page.var, {u"名单", 2, u"<tr><td>1</td><td>2</td></tr>"});
  EXPECT_EQ(U8(text), kHead +
                          "<table border='1'><tr align=center height=40><td colspan=2 bgcolor=#e8f24d>名单"
                          "</td></tr><tr><td>1</td><td>2</td></tr><tr align=center height=40><td colspan=2 "
                          "bgcolor=65c8f2>来源：Meetora[运动会管理系统 版权所有]<br>导出时间：2024/5/6 14:30:00"
                          "</td></tr></table>");
  EXPECT_EQ(U8(page.response->content_type()), "application/vnd.ms-excel");
  ASSERT_EQ(page.response->headers().size(), 1u);
  EXPECT_EQ(U8(page.response->headers()[0].first), "Content-Disposition");
  EXPECT_EQ(U8(page.response->headers()[0].second), "attachment;filename=名单.xls");
  EXPECT_EQ(U8(page.response->text()), "");  // the page writes the text itself
  EXPECT_TRUE(rs.IsObject() && !rs.object());
  EXPECT_TRUE(db.conn.IsObject() && !db.conn.object());
  EXPECT_FALSE(dynamic_cast<data::Recordset&>(*held_rs).IsOpen());
  EXPECT_FALSE(dynamic_cast<data::Connection&>(*held_conn).IsOpen());
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The export as a page sends it (GBK bytes, the response's code page),
// saved as the attachment and opened by LibreOffice, which writes it back
// as UTF-8 CSV.
TEST(ListExport, OpensInASpreadsheetProgramWithTheChineseIntact) {
  ListDb db;
  db.MakePeople(1);
  Variant rs = db.Open(u"select * from people");
  Export page;
  const Text rows =
      u"<tr><td>1</td><td>張三丰</td><td>一中</td><td>10”12</td></tr>"
      u"<tr><td>2</td><td>李&amp;四</td><td>二中</td><td>€5</td></tr>";
  const Text text = SheetExport(db.conn, rs, page.var,
                                {u"男子100米", 4, rows, u"名次$姓名$单位$成绩", u""});
  page.response->Write(text);

  const std::string dir = arenix::testing::ArtifactDir("lists_export");
  const std::string xls = dir + "/男子100米.xls";
  {
    std::ofstream out(xls, std::ios::binary);
    out.write(reinterpret_cast<const char*>(page.response->body().data()),
              static_cast<std::streamsize>(page.response->body().size()));
  }
  std::filesystem::remove(dir + "/男子100米.csv");
  const std::string profile = db.folder().string() + "/lo_profile";
  const std::string cmd = "cd " + arenix::testing::ShellQuote(dir) +
                          " && soffice -env:UserInstallation=file://" + profile +
                          " --headless --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76'"
                          " --outdir . " + arenix::testing::ShellQuote(xls) + " >/dev/null 2>&1";
  ASSERT_EQ(std::system(cmd.c_str()), 0) << "soffice failed: " << cmd;
  const std::string csv = ReadFile(dir + "/男子100米.csv");
  std::vector<std::string> lines;
  std::stringstream in(csv);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  ASSERT_GE(lines.size(), 5u) << csv;
  EXPECT_EQ(lines[0], "男子100米,,,");
  EXPECT_EQ(lines[1], "名次,姓名,单位,成绩");
  EXPECT_EQ(lines[2], "1,張三丰,一中,10”12");
  EXPECT_EQ(lines[3], "2,李&四,二中,€5");
  EXPECT_NE(lines[4].find("来源：Meetora[运动会管理系统 版权所有]"), std::string::npos) << csv;
}

}  // namespace
}  // namespace arenix::show
