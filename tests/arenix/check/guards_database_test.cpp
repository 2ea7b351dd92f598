// The guards that read the meet database, on real free tables made in a
// temporary folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "arenix/check/guards.h"
#include "arenix/frame/arenix_cls.h"
#include "automation/registry.h"
#include "data/data.h"
#include "page.h"

namespace arenix::check {
namespace {

using automation::Error;
using automation::ObjectCast;
using testing::Page;

class DatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterClasses();
    folder_ = std::filesystem::temp_directory_path() /
              ("arenix_check_" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(folder_);
    conn = Variant(automation::CreateObject(u"Adodb.Connection"));
    Connection().Open(u"provider=vfpoledb;data source=" + automation::FromUtf8(folder_.string()));
    Connection().Execute(u"CREATE TABLE team FREE (name C(20), num N(5,0))");
    Connection().Execute(u"INSERT INTO team (name, num) VALUES ('一中', 1)");
  }

  void TearDown() override {
    if (auto* c = automation::ObjectTryCast<data::Connection>(conn); c && c->IsOpen()) c->Close();
    if (!folder_.empty()) std::filesystem::remove_all(folder_);
  }

  data::Connection& Connection() { return ObjectCast<data::Connection>(conn); }

  // A record set opened as pages open them (cursor 1, lock 1).
  Variant OpenRecordset(TextView sql) {
    Variant rs(automation::CreateObject(u"Adodb.RecordSet"));
    ObjectCast<data::Recordset>(rs).Open(sql, conn, data::kOpenKeyset, data::kLockReadOnly);
    return rs;
  }

  Variant conn;

 private:
  std::filesystem::path folder_;
};

TEST_F(DatabaseTest, CheckIsEofTellsWhetherAQueryReturnsRows) {
  ArenixCls cls;
  Variant with_rows(Text(u"select * from team where num=1"));
  Variant* args[] = {&conn, &with_rows};
  EXPECT_EQ(CallMethod(cls, u"CommCheckIsEof", args), Variant(false));
  EXPECT_TRUE(CheckIsEof(conn, u"select * from team where num=9"));
  EXPECT_TRUE(Connection().IsOpen());  // the page's connection stays open
  EXPECT_THROW(CheckIsEof(conn, u"select * from no_such_table"), Error);
}

TEST_F(DatabaseTest, CheckIsNoRecordRefusesAnEmptyRecordSet) {
  Page found;
  Variant rs = OpenRecordset(u"select * from team where num=1");
  CheckIsNoRecord(found.Response, rs, conn, u"", false, u"");
  found.ExpectAccepted();
  EXPECT_TRUE(ObjectCast<data::Recordset>(rs).IsOpen());

  Page missing;
  Variant empty = OpenRecordset(u"select * from team where num=9");
  auto held = empty.object();
  CheckIsNoRecord(missing.Response, empty, conn, u"", true, u"");
  missing.ExpectRefused(kNoRecordMessage, true);
  // The error page closed and emptied the page's record set and connection.
  EXPECT_FALSE(dynamic_cast<data::Recordset&>(*held).IsOpen());
  EXPECT_TRUE(empty.IsObject() && !empty.object());
  EXPECT_TRUE(conn.IsObject() && !conn.object());
}

TEST_F(DatabaseTest, CheckIsNoRecordUsesTheCallersMessage) {
  Page missing;
  Variant empty = OpenRecordset(u"select * from team where num=9");
  CheckIsNoRecord(missing.Response, empty, conn, u"该运动员不存在。", false, u"dlg");
  missing.ExpectRefused(u"该运动员不存在。", false, u"dlg");
}

TEST_F(DatabaseTest, CheckIsNoRecordNeedsAnOpenRecordSet) {
  Page page;
  Variant rs = OpenRecordset(u"select * from team");
  ObjectCast<data::Recordset>(rs).Close();
  EXPECT_THROW(CheckIsNoRecord(page.Response, rs, conn, u"", false, u""), Error);
  page.ExpectAccepted();
}

TEST_F(DatabaseTest, CheckAllowClosesTheDataWhenItRefuses) {
  Page open;
  Variant rs = OpenRecordset(u"select * from team");
  CheckAllow(open.Response, rs, conn, 1, false, u"");
  open.ExpectAccepted();
  EXPECT_TRUE(Connection().IsOpen());

  Page off;
  auto held = conn.object();
  CheckAllow(off.Response, rs, conn, 0, false, u"");
  off.ExpectRefused(kAllowMessage);
  EXPECT_TRUE(rs.IsObject() && !rs.object());
  EXPECT_TRUE(conn.IsObject() && !conn.object());
  EXPECT_FALSE(dynamic_cast<data::Connection&>(*held).IsOpen());
}

}  // namespace
}  // namespace arenix::check
