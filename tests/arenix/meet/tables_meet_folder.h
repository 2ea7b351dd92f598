// A meet folder for the meet tables' tests: the sample meet's table
// columns made empty in a temporary folder, an open connection of the
// engine on it, and shorthands to run statements and read values back.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "automation/coerce.h"
#include "automation/registry.h"
#include "data/classes.h"
#include "automation/runtime.h"
#include "data/data.h"
#include "data/dbf/table.h"
#include "data/dbf/test_files.h"
#include "arenix/meet/meet_schema.h"

namespace arenix::meet::testing {

using automation::ObjectCast;
using automation::Text;
using automation::TextView;
using automation::Variant;

class TablesFolder {
 public:
  /// Makes the named meet tables empty and opens a connection.
  explicit TablesFolder(const std::vector<std::string>& tables) {
    data::RegisterClasses();
    for (const std::string& t : tables)
      data::dbf::Table::Create(dir_.File(t + ".dbf"), arenix::meet::MeetTableFields(t));
    Reopen();
  }
  ~TablesFolder() {
    if (auto* c = automation::ObjectTryCast<data::Connection>(conn); c && c->IsOpen()) c->Close();
  }

  const std::string& path() const { return dir_.path(); }

  /// A fresh open connection in `conn` (after an error page closed it).
  void Reopen() {
    conn = Variant(automation::CreateObject(u"Adodb.Connection"));
    Connection().Open(u"provider=vfpoledb;data source=" + automation::FromUtf8(dir_.path()));
  }

  /// A new record set object, as a page holds one.
  static Variant NewRecordset() { return Variant(automation::CreateObject(u"Adodb.RecordSet")); }
  data::Connection& Connection() { return ObjectCast<data::Connection>(conn); }

  int32_t Exec(TextView sql) {
    int32_t n = 0;
    Connection().Execute(sql, &n);
    return n;
  }

  /// Every row of a query, each value as the record set gives it.
  std::vector<std::vector<Variant>> Query(TextView sql) {
    Variant rs(automation::CreateObject(u"Adodb.RecordSet"));
    auto& set = ObjectCast<data::Recordset>(rs);
    set.Open(sql, conn, data::kOpenKeyset, data::kLockReadOnly);
    std::vector<std::vector<Variant>> rows;
    for (; !set.Eof(); set.MoveNext()) {
      std::vector<Variant> row;
      for (int i = 0; i < set.FieldCount(); ++i) row.push_back(set.FieldAt(i));
      rows.push_back(row);
    }
    set.Close();
    return rows;
  }

  /// The one value of a one-row, one-column query.
  Variant Value(TextView sql) {
    auto rows = Query(sql);
    return rows.empty() ? Variant() : rows[0].at(0);
  }

  Variant conn;

 private:
  dbf_test::TempDir dir_;
};

}  // namespace arenix::meet::testing
