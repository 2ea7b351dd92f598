// Query results kept between pages, as a running server serves them: a
// table changed by another program between two pages of the same worker is
// seen by the next page, and so is a page's own save, however the change
// notices and the tables' stamps are consulted.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "data/classes.h"
#include "data/foxsql/database.h"
#include "data/limits.h"
#include "web/web_site.h"

namespace web_test {
namespace {

TEST(KeptResultsTest, APageSeesEveryChangeOfItsTable) {
  data::RegisterClasses();
  TestSite site;
  {
    data::foxsql::Database db(site.data());
    db.Run(u"Create Table Team Free (Name C(10), Score I)");
    db.Run(u"Insert Into Team Values ('north', 1)");
  }
  const std::string open = "var c = 'provider=vfpoledb;data source=' + Server.MapPath('/data');"
                           "var r = Server.CreateObject('Adodb.RecordSet');";
  site.Write("list.asp", "<% " + open +
                             "r.Open('Select Name, Score From Team', c, 1, 1);"
                             "while (!r.EOF) { Response.Write(String(r('Name')).trim() + '=' + r('Score') + ';'); r.MoveNext(); }"
                             "r.Close(); %>");
  site.Write("add.asp", "<% " + open + "r.Open(\"Insert Into Team Values ('\" + Request('n') + \"', 5)\", c, 1, 1); %>");
  web::ServerConfig config = TestConfig(site);
  config.limits.workers = 1;  // one worker, one pooled connection: the same one every time
  TestServer server(config);
  auto get = [&](const std::string& target) {
    return BodyOf(server.Raw("GET " + target + " HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n"));
  };
  // Past the time after which the table's stamp is trusted: its result is kept.
  std::this_thread::sleep_for(std::chrono::nanoseconds(data::limits::kDecodedSettleNs) + std::chrono::milliseconds(100));
  ASSERT_EQ(get("/list.asp"), "north=1;");
  ASSERT_EQ(get("/list.asp"), "north=1;");

  // Another program changes the bytes in place: same size, same records.
  const std::string python = "/usr/bin/python3 -c \"import dbf\nt = dbf.Table('" + site.data() +
                             "/Team.dbf')\nt.open(dbf.READ_WRITE)\nfor r in t:\n    with r:\n        r.score = 7\nt.close()\"";
  ASSERT_EQ(std::system(python.c_str()), 0);
  EXPECT_EQ(get("/list.asp"), "north=7;");
  EXPECT_EQ(get("/list.asp"), "north=7;");

  // The server's own write, and then the next page at once.
  std::this_thread::sleep_for(std::chrono::nanoseconds(data::limits::kDecodedSettleNs) + std::chrono::milliseconds(100));
  ASSERT_EQ(get("/list.asp"), "north=7;");
  get("/add.asp?n=south");
  EXPECT_EQ(get("/list.asp"), "north=7;south=5;");
}

}  // namespace
}  // namespace web_test
