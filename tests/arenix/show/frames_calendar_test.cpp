// The month calendar on a real table: the shown month from the request, the
// linked days from the records, the marks for today and the chosen day, and
// the errors of bad keys and missing tables.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "arenix/frame/arenix_cls.h"
#include "automation/clock.h"
#include "automation/registry.h"
#include "automation/runtime.h"
#include "data/data.h"
#include "host/memory_host.h"

namespace arenix::show {
namespace {

namespace fs = std::filesystem;
using automation::Text;
using automation::Variant;

class FramesCalendarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterClasses();
    folder_ = fs::temp_directory_path() / ("arenix_calendar_" + std::to_string(std::random_device{}()));
    fs::create_directories(folder_);
    conn = Variant(automation::CreateObject(u"Adodb.Connection"));
    Conn().Open(u"provider=vfpoledb;data source=" + automation::FromUtf8(folder_.string()));
    // The meet system stores the column DateAndTime as DateAndTim: a field
    // name holds ten bytes.
    Conn().Execute(u"CREATE TABLE news FREE (DateAndTim C(14), kind C(4))");
    for (const char16_t* row : {u"('20130103080000','a')", u"('20130105090000','a')",
                                u"('20130105100000','b')", u"('20121231235959','a')",
                                u"('20130207080000','a')", u"('20130120080000','b')"})
      Conn().Execute(u"INSERT INTO news (DateAndTim, kind) VALUES " + Text(row));
    rs = Variant(automation::CreateObject(u"Adodb.RecordSet"));
  }
  void TearDown() override {
    if (auto* c = automation::ObjectTryCast<data::Connection>(conn); c && c->IsOpen()) c->Close();
    fs::remove_all(folder_);
  }
  data::Connection& Conn() { return automation::ObjectCast<data::Connection>(conn); }

  std::string Calendar(const char16_t* query, const char16_t* sql_add = u"", const char16_t* href_add = u"",
                       const char16_t* table = u"news") {
    auto req = std::make_shared<host::MemoryRequest>();
    req->SetQueryString(query);
    Variant request{automation::ObjectPtr(req)};
    Variant args[] = {Variant(table), Variant(sql_add), Variant(href_add)};
    Variant* ptrs[] = {&request, &conn, &rs, &args[0], &args[1], &args[2]};
    ArenixCls cls;
    return automation::ToUtf8(automation::CStr(CallMethod(cls, u"CommShowCalendar", ptrs)));
  }

  Variant conn, rs;

 private:
  fs::path folder_;
};

std::string Link(const std::string& month, const std::string& title, const std::string& text) {
  return "<a href='?month=" + month + "' title='" + title + "'>" + text + "</a>";
}
const std::string kEmpty = "<td bgcolor='#DDDDDD'></td>";
std::string Day(int d, const std::string& color = "#DDDDDD") {
  return "<td align='center' bgcolor='" + color + "' style='font-size:10px;' >" + std::to_string(d) + "</td>";
}
std::string Linked(int d, const std::string& href, const std::string& color = "#DDDDDD") {
  return "<td align='center' bgcolor='" + color + "' style='font-size:10px;cursor:hand;' ><a href='" +
         href + "'>" + std::to_string(d) + "</a></td>";
}
std::string Header(const std::string& caption, const std::string& prev_year, const std::string& prev,
                   const std::string& next, const std::string& next_year) {
  return "<table border='0' width='100%' align='center' cellspacing='1' cellpadding='1' bgcolor='#EEEEEE'>"
         "<tr><td colspan='1'  bgcolor='#AAAAAA' style='font-size:16px; font-family:;text-align :center'>" +
         Link(prev_year, "上一年", "&laquo;") + " " + Link(prev, "上一月", "&#8249;") +
         "</td><td colspan='5' style='color:blue;font-size:14px;font-family:;text-align :center'><b>" +
         caption + "</b></td><td colspan='1' bgcolor='#AAAAAA' style='font-size:16px; font-family:;"
         "text-align :center';>" + Link(next, "下一月", "&#8250;") + " " + Link(next_year, "下一年", "&raquo;") +
         "</td></tr><tr><td align='center' bgcolor='Pink'>日</td><td align='center' bgcolor='Pink'>一</td>"
         "<td align='center' bgcolor='Pink'>二</td><td align='center' bgcolor='Pink'>三</td>"
         "<td align='center' bgcolor='Pink'>四</td><td align='center' bgcolor='Pink'>五</td>"
         "<td align='center' bgcolor='Pink'>六</td></tr>";
}
const std::string kClosing = "<tr><td colspan='7' bgcolor='Pink' align='center'></td></tr></table>";

TEST_F(FramesCalendarTest, JanuaryTwentyThirteenWholeText) {
  automation::ScopedClock clock(automation::DateSerial(2013, 1, 20), std::nullopt);
  std::string rows = "<tr>" + kEmpty + kEmpty + Day(1) + Day(2) + Linked(3, "?date=20130103") + Day(4) +
                     Linked(5, "?date=20130105", "Yellow") + "</tr><tr>";
  for (int d = 6; d <= 12; ++d) rows += Day(d);
  rows += "</tr><tr>";
  for (int d = 13; d <= 19; ++d) rows += Day(d);
  rows += "</tr><tr>" + Linked(20, "?date=20130120", "#DD9999");
  for (int d = 21; d <= 26; ++d) rows += Day(d);
  rows += "</tr><tr>";
  for (int d = 27; d <= 31; ++d) rows += Day(d);
  rows += kEmpty + kEmpty + "</tr>";
  EXPECT_EQ(Calendar(u"date=20130105"),
            Header("一月&nbsp;2013", "201201", "201212", "201302", "201401") + rows + kClosing);
  // The record set is closed again.
  EXPECT_FALSE(automation::ObjectCast<data::Recordset>(rs).IsOpen());
}

TEST_F(FramesCalendarTest, MonthKeyWinsAndMarksNoDay) {
  automation::ScopedClock clock(automation::DateSerial(2020, 6, 1), std::nullopt);
  std::string text = Calendar(u"date=20130105&month=201301");
  EXPECT_EQ(text.find("Yellow"), std::string::npos);
  EXPECT_EQ(text.find("#DD9999"), std::string::npos);  // today is in another month
  EXPECT_NE(text.find(Linked(5, "?date=20130105")), std::string::npos);

  // The extra condition and link text; December rolls into the next year.
  text = Calendar(u"month=201212", u"kind=='a'", u"type=news&x=1");
  EXPECT_EQ(text.rfind(Header("十二月&nbsp;2012", "201112&type=news&x=1", "201211&type=news&x=1",
                              "201301&type=news&x=1", "201312&type=news&x=1"),
                       0),
            0u)
      << text;
  EXPECT_NE(text.find(Linked(31, "?date=20121231&type=news&x=1")), std::string::npos);
  text = Calendar(u"month=201301", u"kind=='b'");
  EXPECT_EQ(text.find("?date=20130103"), std::string::npos);
  EXPECT_NE(text.find(Linked(5, "?date=20130105")), std::string::npos);
}

TEST_F(FramesCalendarTest, LeapFebruaryAndTheCurrentMonthByDefault) {
  automation::ScopedClock clock(automation::DateSerial(2012, 2, 29), std::nullopt);
  std::string text = Calendar(u"");
  EXPECT_NE(text.find("<b>二月&nbsp;2012</b>"), std::string::npos);
  // 1 February 2012 was a Wednesday: three empty cells, 29 days, then the
  // rest of the last week.
  EXPECT_NE(text.find("</tr><tr>" + kEmpty + kEmpty + kEmpty + Day(1) + Day(2) + Day(3) + Day(4) + "</tr>"),
            std::string::npos);
  EXPECT_NE(text.find(Day(29, "#DD9999") + kEmpty + kEmpty + kEmpty + "</tr>" + kClosing), std::string::npos);
  size_t cells = 0;
  for (size_t at = 0; (at = text.find("style='font-size:10px;", at)) != std::string::npos; ++at) ++cells;
  EXPECT_EQ(cells, 29u);
  EXPECT_NE(Calendar(u"month=201302").find(Day(28) + kEmpty + kEmpty + "</tr>"), std::string::npos);
}

TEST_F(FramesCalendarTest, BadKeysAndMissingTablesFailTheCall) {
  struct Case {
    const char16_t* query;
    int number;
  } cases[] = {
      {u"date=abc", 13},      {u"date=2013", 13},     {u"date=2013-1-5", 13}, {u"month=20131", 13},
      {u"month=２０１３０１", 13}, {u"month=201313", 5}, {u"month=201300", 5},    {u"date=20130230", 5},
      {u"date=20130100", 5},  {u"month=009901", 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(automation::ToUtf8(c.query));
    try {
      Calendar(c.query);
      ADD_FAILURE() << "no error";
    } catch (const automation::Error& e) {
      EXPECT_EQ(e.number(), c.number);
      EXPECT_NE(e.description().find(u"calendar key"), Text::npos);
    }
  }
  try {
    Calendar(u"month=201301", u"", u"", u"nothere");
    ADD_FAILURE() << "no error";
  } catch (const automation::Error& e) {
    EXPECT_EQ(e.number(), 53);
    EXPECT_NE(e.description().find(u"nothere"), Text::npos);
  }
}

}  // namespace
}  // namespace arenix::show
