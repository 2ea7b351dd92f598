// Connections kept by a worker thread from page to page: what the next page
// sees after another program changed a table, after a unit of writes left
// open, and after the data folder was replaced.
#include <gtest/gtest.h>

#include <cstdio>
#include <chrono>
#include <filesystem>
#include <thread>

#include "automation/coerce.h"
#include "automation/registry.h"
#include "data/classes.h"
#include "data/connection.h"
#include "data/dbf/test_files.h"
#include "data/foxsql/database_pool.h"
#include "data/recordset.h"

namespace data {
namespace {

using automation::FromUtf8;

class PooledConnections : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterClasses();
    foxsql::ClearDatabasePool();
    folder = dir.File("data");
    std::filesystem::create_directory(folder);
    Page([](FreeTableConnection& c) {
      c.Execute(u"Create Table Team Free (Name C(10), Score I)");
      c.Execute(u"Insert Into Team Values ('north', 1)");
      c.Execute(u"Insert Into Team Values ('south', 2)");
    });
  }
  void TearDown() override { foxsql::ClearDatabasePool(); }

  // One page's use of the meet: open, work, close (back to the pool).
  template <typename F>
  void Page(F work) {
    FreeTableConnection c;
    c.Open(u"provider=vfpoledb;data source=" + FromUtf8(folder));
    work(c);
    c.Close();
  }

  // "name=score;..." in record order.
  std::string Scores() {
    std::string out;
    Page([&](FreeTableConnection& c) {
      auto rs = automation::ObjectCast<StaticRecordset>(c.Execute(u"Select Name, Score From Team"));
      for (; !rs.Eof(); rs.MoveNext())
        out += automation::ToUtf8(automation::CStr(rs.Field(u"Name"))) + "=" +
               automation::ToUtf8(automation::CStr(rs.Field(u"Score"))) + ";";
    });
    return out;
  }

  // Changes the table with another program (python3-dbf).
  void Python(const std::string& code) {
    std::string script = "import dbf\nt = dbf.Table('" + folder + "/Team.dbf')\nt.open(dbf.READ_WRITE)\n" + code +
                         "\nt.close()\n";
    std::string command = "/usr/bin/python3 -c \"" + script + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
  }

  dbf_test::TempDir dir;
  std::string folder;
};

TEST_F(PooledConnections, AChangeByAnotherProgramIsSeenByTheNextPage) {
  // Once a file has settled its texts are kept decoded for the next pages;
  // a change (the same size, the same records) is still seen, settled or not.
  auto settle = [] { std::this_thread::sleep_for(std::chrono::milliseconds(300)); };
  settle();
  ASSERT_EQ(Scores(), "north     =1;south     =2;");
  ASSERT_EQ(Scores(), "north     =1;south     =2;");
  Python("for r in t:\n    with r:\n        r.name = r.name.strip().upper()");
  settle();
  ASSERT_EQ(Scores(), "NORTH     =1;SOUTH     =2;");
  Python("for r in t:\n    with r:\n        r.name = r.name.strip().lower()");
  ASSERT_EQ(Scores(), "north     =1;south     =2;");
  // The same size and record count: only the bytes (and the time) change.
  Python("for r in t:\n    with r:\n        r.score = r.score + 10");
  EXPECT_EQ(Scores(), "north     =11;south     =12;");
  Python("t.append(('east', 3))");
  EXPECT_EQ(Scores(), "north     =11;south     =12;east      =3;");
  // The indexes the equality filters use follow as well.
  std::string found;
  Page([&](FreeTableConnection& c) {
    auto rs = automation::ObjectCast<StaticRecordset>(c.Execute(u"Select Score From Team Where Name=='east'"));
    found = rs.Eof() ? "none" : automation::ToUtf8(automation::CStr(rs.Field(u"Score")));
  });
  EXPECT_EQ(found, "3");
  Python("for r in t:\n    with r:\n        r.name = 'west' if r.name.strip() == 'east' else r.name");
  Page([&](FreeTableConnection& c) {
    auto rs = automation::ObjectCast<StaticRecordset>(c.Execute(u"Select Score From Team Where Name=='east'"));
    EXPECT_TRUE(rs.Eof());
  });
}

TEST_F(PooledConnections, AUnitLeftOpenIsUndoneBeforeTheConnectionIsKept) {
  for (bool close : {true, false}) {
    {
      FreeTableConnection c;
      c.Open(u"provider=vfpoledb;data source=" + FromUtf8(folder));
      c.BeginTrans();
      c.Execute(u"Update Team Set Score=99");
      c.Execute(u"Insert Into Team Values ('lost', 5)");
      if (close) c.Close();  // else dropped with the page
    }
    EXPECT_EQ(Scores(), "north     =1;south     =2;") << (close ? "closed" : "dropped");
  }
  // The next page's unit takes the meet's write lock as usual and keeps its writes.
  Page([](FreeTableConnection& c) {
    c.BeginTrans();
    c.Execute(u"Update Team Set Score=Score+1");
    c.CommitTrans();
  });
  EXPECT_EQ(Scores(), "north     =2;south     =3;");
}

TEST_F(PooledConnections, AFolderReplacedOrRemovedIsNotServedFromThePool) {
  ASSERT_EQ(Scores(), "north     =1;south     =2;");
  std::filesystem::remove_all(folder);
  FreeTableConnection c;
  try {
    c.Open(u"provider=vfpoledb;data source=" + FromUtf8(folder));
    ADD_FAILURE() << "a removed folder opened";
  } catch (const automation::Error& e) {
    EXPECT_EQ(e.number(), automation::err::kPathNotFound);
  }
  std::filesystem::create_directory(folder);
  Page([](FreeTableConnection& c) {
    c.Execute(u"Create Table Team Free (Name C(10), Score I)");
    c.Execute(u"Insert Into Team Values ('new', 7)");
  });
  EXPECT_EQ(Scores(), "new       =7;");
}

}  // namespace
}  // namespace data
