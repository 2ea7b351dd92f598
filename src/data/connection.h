// The connection over the meet database engine, registered as
// "Adodb.Connection": opened with "provider=vfpoledb;data source=DIR" on a
// folder of free tables, it runs the FoxPro dialect's statements there.
//
//   auto conn = std::make_shared<FreeTableConnection>();
//   conn->Open(u"provider=vfpoledb;data source=D:\\site\\data");
//   int32_t n = 0;
//   conn->Execute(u"Update [Play] Set 比赛名次=0 Where 比赛组次=0", &n);
//
// Closing (or dropping) the connection hands its engine connection back to
// the thread's pool for the next page.
//
// Not thread-safe: one connection belongs to one page.
#pragma once

#include <memory>

#include "data/data.h"
#include "data/dbf/write_unit.h"
#include "data/foxsql/database.h"

namespace data {

class FreeTableConnection : public Connection {
 public:
  FreeTableConnection() = default;
  /// Undoes an open unit and gives the engine connection back to the
  /// thread's pool (database_pool.h).
  ~FreeTableConnection() override;
  /// Raises 3705 when already open, 3706 for a provider other than
  /// vfpoledb, 3001 without a data source, and the engine's error (76) when
  /// the folder does not exist.
  void Open(TextView connection_string) override;
  /// A query returns an open static record set; a write returns Empty and
  /// its records-affected count (-1 for a query). 3704 when closed.
  Variant Execute(TextView sql, int32_t* records_affected = nullptr) override;
  void Close() override;
  bool IsOpen() const override { return db_ != nullptr; }
  Text ConnectionString() const override { return connection_string_; }

  /// Starts a unit of writes on the meet (the meet write lock and the undo
  /// journal): the statements run until CommitTrans are kept together, or
  /// undone together by RollbackTrans, by an error of one of them, or by
  /// closing the connection. Returns the level (1); 3219 when a unit is
  /// already open (units do not nest), 3704 when closed.
  int32_t BeginTrans();
  /// Keeps the unit's writes; 3219 without BeginTrans.
  void CommitTrans();
  /// Undoes the unit's writes; 3219 without BeginTrans.
  void RollbackTrans();
  bool InTransaction() const { return trans_ != nullptr; }

  /// Open, Execute, Close, State, ConnectionString (get, and put while
  /// closed), BeginTrans, CommitTrans, RollbackTrans.
  Variant Invoke(TextView name, automation::InvokeKind kind,
                 std::span<Variant* const> args) override;
  const automation::MemberTable* Members() const override;

  /// The engine of the open connection; 3704 when closed.
  foxsql::Database& database();

 private:
  Text connection_string_;
  std::unique_ptr<foxsql::Database> db_;
  std::unique_ptr<dbf::WriteUnit> trans_;  // released before db_
};

/// The folder a connection text names: the value of "data source" when the
/// provider is vfpoledb (keys without regard to case, values optionally in
/// quotes). Raises as Open does.
Text DataSourceOf(TextView connection_string);

}  // namespace data
