// The data source methods on an in-memory site whose "/data" folder lives
// in a temporary folder.
#include <gtest/gtest.h>

#include <filesystem>

#include "arenix/frame/arenix_cls.h"
#include "arenix/page/error_page.h"
#include "automation/registry.h"
#include "data/classes.h"
#include "data/connection.h"
#include "data/dbf/test_files.h"
#include "host/memory_host.h"

namespace arenix {
namespace {

using automation::FromUtf8;
using automation::Text;
using automation::Variant;

constexpr char16_t kSettingsMissing[] = u"系统配置文件[xtsz.dbf与xtsz.fpt]不存在,请联系管理员!";
constexpr char16_t kConnectFailed[] = u"数据库连接错误,请联系管理员!";

class DataSource : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterClasses();
    site = FromUtf8(dir.path());
    server = Variant(automation::ObjectPtr(std::make_shared<host::MemoryServer>(site)));
    response_object = std::make_shared<host::MemoryResponse>();
    response = Variant(automation::ObjectPtr(response_object));
  }
  void TearDown() override { data::RegisterClasses(); }

  // The settings table as the rest of the meet system leaves it.
  void MakeSettings(bool with_memo) {
    std::filesystem::create_directory(dir.File("data"));
    data::foxsql::Database db(dir.File("data"));
    db.Run(u"Create Table xtsz Free (名称 C(20), 内容 M)");
    if (!with_memo) std::filesystem::remove(dir.File("data/xtsz.fpt"));
  }

  dbf_test::TempDir dir;
  Text site;
  Variant server;
  std::shared_ptr<host::MemoryResponse> response_object;
  Variant response;
  ArenixCls cls;
};

TEST_F(DataSource, MakesTheDataFolderAndStopsWithoutTheSettingsTable) {
  Variant conn;
  cls.CommSetConn(server, conn, response);
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("data")));
  EXPECT_EQ(response_object->text(), page::ErrorPageText(kSettingsMissing, false, u""));
  EXPECT_TRUE(response_object->ended());
  EXPECT_TRUE(conn.IsEmpty());
}

TEST_F(DataSource, ATableWithoutItsMemoFileCountsAsMissing) {
  MakeSettings(/*with_memo=*/false);
  Variant conn(Text(u"old"));
  cls.CommSetConn(server, conn, response);
  EXPECT_EQ(response_object->text(), page::ErrorPageText(kSettingsMissing, false, u""));
}

TEST_F(DataSource, OpensTheConnectionAndClosesItAgain) {
  MakeSettings(/*with_memo=*/true);
  Variant conn(Text(u"old"));
  cls.CommSetConn(server, conn, response);
  EXPECT_TRUE(response_object->text().empty());
  auto& c = automation::ObjectCast<data::Connection>(conn);
  EXPECT_TRUE(c.IsOpen());
  EXPECT_EQ(c.ConnectionString(), u"provider=vfpoledb;data source=" + site + u"/data");
  int32_t affected = 0;
  c.Execute(u"Insert Into xtsz (名称) Values ('运动会名称')", &affected);
  EXPECT_EQ(affected, 1);

  Variant rs(automation::CreateObject(u"Adodb.RecordSet"));
  automation::ObjectCast<data::Recordset>(rs).Open(u"Select * From xtsz", conn, 1, 1);
  cls.CommCloseData(rs, conn);
  EXPECT_TRUE(rs.IsObject() && !rs.object());
  EXPECT_TRUE(conn.IsObject() && !conn.object());
  cls.CommCloseData(rs, conn);  // twice: nothing more happens
  EXPECT_TRUE(conn.IsObject() && !conn.object());
}

// A connection that cannot open, standing in for a folder the provider refuses.
class RefusingConnection : public data::FreeTableConnection {
 public:
  void Open(automation::TextView text) override {
    text_ = Text(text);
    throw automation::Error(70);
  }
  Text ConnectionString() const override { return text_; }

 private:
  Text text_;
};

TEST_F(DataSource, AConnectionThatCannotOpenShowsTheSecondErrorPage) {
  MakeSettings(/*with_memo=*/true);
  automation::RegisterClass(u"Adodb.Connection", [] { return std::make_shared<RefusingConnection>(); });
  Variant conn;
  cls.CommSetConn(server, conn, response);
  EXPECT_EQ(response_object->text(), page::ErrorPageText(kConnectFailed, false, u""));
  EXPECT_TRUE(conn.IsObject() && !conn.object());  // closed and set to nothing
}

TEST_F(DataSource, NamesTheSingleFileDatabase) {
  EXPECT_EQ(cls.CommGetDataFullName(server), site + u"/data\\oa.asp");
  Text cs = cls.CommGetConnString(server);
  EXPECT_EQ(cs, u"DBQ=" + site + u"/data\\oa.asp;DefaultDir=;DRIVER={Microsoft Access Driver (*.Mdb)};");
  cls.CommDataInit(server);
}

}  // namespace
}  // namespace arenix
