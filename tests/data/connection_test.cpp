// The connection and record set objects over a meet database in a
// temporary folder, typed and late-bound as pages use them.
#include "data/connection.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "automation/coerce.h"
#include "automation/runtime.h"
#include "automation/registry.h"
#include "data/classes.h"
#include "data/data_errors.h"
#include "data/dbf/test_files.h"
#include "data/foxsql/statement_error.h"
#include "data/recordset.h"
#include "data/sql_text.h"

namespace data {
namespace {

using automation::FromUtf8;
using automation::InvokeKind;
using dbf_test::ErrorOf;

Variant Call(Variant& object, TextView name, std::vector<Variant> args = {},
             InvokeKind kind = InvokeKind::Method) {
  std::vector<Variant*> slots;
  for (auto& a : args) slots.push_back(&a);
  return object.object()->Invoke(name, kind, slots);
}

class DataObjects : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterClasses();
    // The data folder as a page names it: Windows separators in the last step.
    source = FromUtf8(dir.path()) + u"\\data";
    std::filesystem::create_directory(dir.File("data"));
    conn = Variant(automation::CreateObject(u"Adodb.Connection"));
    Call(conn, u"Open", {Variant(u"provider=vfpoledb;data source=" + source)});
    Call(conn, u"Execute", {Variant(u"Create Table Sjzd Free (分类 C(10), 名称 C(20) Null, 序号 I)")});
    for (int i = 1; i <= 23; ++i)
      Call(conn, u"Execute",
           {Variant(u"Insert Into Sjzd Values ('项目', '第" + FromUtf8(std::to_string(i)) + u"项', " +
                    FromUtf8(std::to_string(i)) + u")")});
  }

  // A record set opened as pages open one: cursor type 1, lock type 1.
  Variant OpenRs(TextView sql) {
    Variant rs(automation::CreateObject(u"Adodb.RecordSet"));
    Call(rs, u"Open", {Variant(sql), conn, Variant(int32_t{1}), Variant(int32_t{1})});
    return rs;
  }

  dbf_test::TempDir dir;
  Text source;
  Variant conn;
};

TEST_F(DataObjects, QuotedValuesAreStoredAsTypedAndNeverChangeTheStatement) {
  for (const Text value : {Text(u"O'Neil"), Text(u"x') Or ('1'='1"), Text(u"''"), Text(u"\"双\"")}) {
    Call(conn, u"Execute", {Variant(u"Insert Into Sjzd Values ('人名', " + SqlText(value) + u", 99)")});
    Variant rs = OpenRs(u"Select 名称 From Sjzd Where 分类='人名' And Trim(名称)==" + SqlText(value));
    EXPECT_EQ(Call(rs, u"RecordCount"), Variant(int32_t{1})) << automation::ToUtf8(value);
    Call(conn, u"Execute", {Variant(u"Delete From Sjzd Where 分类='人名'")});
  }
}

TEST_F(DataObjects, ConnectionRunsStatementsAndCountsTheRecordsAffected) {
  EXPECT_EQ(Call(conn, u"State"), Variant(int32_t{1}));
  EXPECT_EQ(automation::CStr(conn), u"provider=vfpoledb;data source=" + source);
  Variant affected;
  std::vector<Variant*> slots;
  Variant sql(u"Update Sjzd Set 序号=序号+100 Where 序号<=5");
  slots = {&sql, &affected};
  EXPECT_TRUE(conn.object()->Invoke(u"Execute", InvokeKind::Method, slots).IsEmpty());
  EXPECT_EQ(affected, Variant(int32_t{5}));

  // A query: the first field of the returned rows is readable by index.
  Variant rs = Call(conn, u"Execute", {Variant(u"Select Max(序号) From Sjzd")});
  EXPECT_EQ(Call(rs, u"", {Variant(int32_t{0})}), Variant(int32_t{105}));
  auto& typed = automation::ObjectCast<Connection>(conn);
  int32_t n = 0;
  typed.Execute(u"Select * From Sjzd", &n);
  EXPECT_EQ(n, -1);

  Call(conn, u"Close");
  EXPECT_EQ(Call(conn, u"State"), Variant(int32_t{0}));
  EXPECT_EQ(ErrorOf([&] { Call(conn, u"Close"); }).first, kObjectClosed);
  EXPECT_EQ(ErrorOf([&] { Call(conn, u"Execute", {Variant(u"Select * From Sjzd")}); }).first,
            kObjectClosed);
}

TEST_F(DataObjects, ConnectionRefusesBadConnectionTexts) {
  FreeTableConnection c;
  EXPECT_EQ(ErrorOf([&] { c.Open(u"provider=sqloledb;data source=" + source); }).first,
            kProviderNotFound);
  EXPECT_EQ(ErrorOf([&] { c.Open(u"provider=vfpoledb"); }).first, kArgumentOutOfRange);
  EXPECT_EQ(ErrorOf([&] { c.Open(u"provider=vfpoledb;data source=" + source + u"\\missing"); }).first,
            76);
  EXPECT_FALSE(c.IsOpen());
  c.Open(u"Provider=VFPOLEDB.1;Data Source=\"" + source + u"\";Collating Sequence=machine");
  EXPECT_EQ(ErrorOf([&] { c.Open(u"provider=vfpoledb;data source=" + source); }).first, kObjectOpen);
}

TEST_F(DataObjects, RecordSetWalksAStaticKeyset) {
  Variant rs = OpenRs(u"Select 名称, 序号 From Sjzd Where 序号<=3 Order By 序号");
  EXPECT_EQ(Call(rs, u"RecordCount"), Variant(int32_t{3}));
  // The rows are the ones read at Open, whatever happens afterwards.
  Call(conn, u"Execute", {Variant(u"Delete From Sjzd Where 序号=2")});
  std::vector<Text> names;
  for (; !automation::CBool(Call(rs, u"EOF")); Call(rs, u"MoveNext"))
    names.push_back(automation::RTrim(automation::CStr(Call(rs, u"", {Variant(u"名称")}))));
  EXPECT_EQ(names, (std::vector<Text>{u"第1项", u"第2项", u"第3项"}));
  EXPECT_EQ(ErrorOf([&] { Call(rs, u"", {Variant(u"名称")}); }).first, kNoCurrentRecord);
  EXPECT_EQ(ErrorOf([&] { Call(rs, u"MoveNext"); }).first, kNoCurrentRecord);
  Call(rs, u"MoveFirst");
  EXPECT_FALSE(automation::CBool(Call(rs, u"BOF")));
  EXPECT_EQ(Call(rs, u"Fields", {Variant(int32_t{1})}), Variant(int32_t{1}));
  Variant fields = Call(rs, u"Fields");
  EXPECT_EQ(Call(fields, u"Count"), Variant(int32_t{2}));
  EXPECT_EQ(Call(fields, u"Item", {Variant(u"序号")}), Variant(int32_t{1}));
  EXPECT_EQ(ErrorOf([&] { Call(rs, u"", {Variant(u"没有")}); }).first, kItemNotFound);
  Call(rs, u"Close");
  EXPECT_EQ(ErrorOf([&] { Call(rs, u"RecordCount"); }).first, kObjectClosed);
}

TEST_F(DataObjects, FieldsAreFoundByNameWithoutRegardToCaseWhateverTheSetHeldBefore) {
  StaticRecordset rs;
  // Two columns whose names differ only in case: the first one answers.
  rs.Load(foxsql::Rows{{u"Code", u"Name", u"NAME"}, {{Variant(u"a"), Variant(u"first"), Variant(u"second")}}});
  for (int pass = 0; pass < 2; ++pass) {  // the second pass reads names already looked up
    for (const char16_t* name : {u"Name", u"name", u"NAME", u"nAmE"})
      EXPECT_EQ(rs.Field(name), Variant(u"first")) << automation::ToUtf8(name);
    EXPECT_EQ(rs.Field(u"CODE"), Variant(u"a"));
    EXPECT_EQ(ErrorOf([&] { rs.Field(u"Nam"); }).first, kItemNotFound);
  }
  // Opened again on other columns: the names read before mean the new ones.
  rs.Close();
  rs.Load(foxsql::Rows{{u"Name", u"Code"}, {{Variant(u"n"), Variant(u"c")}}});
  EXPECT_EQ(rs.Field(u"Code"), Variant(u"c"));
  EXPECT_EQ(rs.Field(u"NAME"), Variant(u"n"));
  rs.Close();
  rs.Load(foxsql::Rows{{u"Other"}, {{Variant(u"o")}}});
  EXPECT_EQ(ErrorOf([&] { rs.Field(u"Code"); }).first, kItemNotFound);
}

TEST_F(DataObjects, AnEmptyResultIsBothEofAndBof) {
  Variant rs = OpenRs(u"Select * From Sjzd Where 分类=='没有'");
  EXPECT_TRUE(automation::CBool(Call(rs, u"EOF")));
  EXPECT_TRUE(automation::CBool(Call(rs, u"BOF")));
  EXPECT_EQ(Call(rs, u"RecordCount"), Variant(int32_t{0}));
  EXPECT_EQ(Call(rs, u"PageCount"), Variant(int32_t{0}));
  EXPECT_EQ(Call(rs, u"AbsolutePage"), Variant(int32_t{-1}));
  EXPECT_EQ(ErrorOf([&] { Call(rs, u"MoveFirst"); }).first, kNoCurrentRecord);
}

TEST_F(DataObjects, RecordSetPagesAsThePlatformDid) {
  Variant rs = OpenRs(u"Select * From Sjzd Order By 序号");
  EXPECT_EQ(Call(rs, u"PageSize"), Variant(int32_t{10}));
  EXPECT_EQ(Call(rs, u"PageCount"), Variant(int32_t{3}));
  EXPECT_EQ(Call(rs, u"AbsolutePage"), Variant(int32_t{1}));
  Call(rs, u"AbsolutePage", {Variant(int32_t{3})}, InvokeKind::PropertyPut);
  EXPECT_EQ(Call(rs, u"", {Variant(u"序号")}), Variant(int32_t{21}));
  EXPECT_EQ(Call(rs, u"AbsolutePage"), Variant(int32_t{3}));
  Call(rs, u"PageSize", {Variant(int32_t{5})}, InvokeKind::PropertyPut);
  EXPECT_EQ(Call(rs, u"PageCount"), Variant(int32_t{5}));
  Call(rs, u"AbsolutePage", {Variant(int32_t{5})}, InvokeKind::PropertyPut);
  EXPECT_EQ(Call(rs, u"", {Variant(u"序号")}), Variant(int32_t{21}));
  for (int i = 0; i < 3; ++i) Call(rs, u"MoveNext");
  EXPECT_EQ(Call(rs, u"AbsolutePage"), Variant(int32_t{-3}));
  EXPECT_EQ(ErrorOf([&] { Call(rs, u"AbsolutePage", {Variant(int32_t{6})}, InvokeKind::PropertyPut); }).first,
            kArgumentOutOfRange);
  EXPECT_EQ(ErrorOf([&] { Call(rs, u"AbsolutePage", {Variant(int32_t{0})}, InvokeKind::PropertyPut); }).first,
            kArgumentOutOfRange);
}

TEST_F(DataObjects, NullStaysApartFromEmptyText) {
  Call(conn, u"Execute", {Variant(u"Update Sjzd Set 名称=.NULL. Where 序号=1")});
  Call(conn, u"Execute", {Variant(u"Update Sjzd Set 名称='' Where 序号=2")});
  Variant rs = OpenRs(u"Select 名称 From Sjzd Where 序号<3 Order By 序号");
  EXPECT_TRUE(Call(rs, u"", {Variant(u"名称")}).IsNull());
  Call(rs, u"MoveNext");
  EXPECT_EQ(Call(rs, u"", {Variant(u"名称")}), Variant(Text(20, u' ')));
}

TEST_F(DataObjects, RecordSetOpensOnAConnectionTextAndRefusesOtherThings) {
  StaticRecordset rs;
  rs.Open(u"Select Count(*) From Sjzd", Variant(u"provider=vfpoledb;data source=" + source), 1, 1);
  EXPECT_EQ(rs.FieldAt(0), Variant(int32_t{23}));
  StaticRecordset other;
  EXPECT_EQ(ErrorOf([&] { other.Open(u"Select * From Sjzd", Variant(int32_t{1}), 1, 1); }).first,
            kConnectionInvalid);
  // A statement the database rejects reaches the caller with its number.
  EXPECT_EQ(ErrorOf([&] { other.Open(u"Select * From [Sjzd] Where", conn, 1, 1); }).first,
            data::foxsql::kStatementError);
}

}  // namespace
}  // namespace data
