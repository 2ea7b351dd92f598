// The meet database engine: a folder of free tables seen through one SQLite
// connection. Every .dbf of the folder is a table (names compare without
// regard to ASCII case); a statement of the FoxPro dialect is translated
// (translate.h), runs over virtual tables on the files (dbf_vtab.h) with
// each table's file lock held for the statement (exclusive for the table
// it writes, shared for those it reads) and commits on its own.
//
//   Database db("/site/data");
//   auto out = db.Run(u"Select 运动员 From [Play] Where Trim(编号)='12'");
//   out.rows->rows[0][0]  // the athlete's name, padded as stored
//
// A query that calls only pure functions (IsPureFunction) is answered from
// the process's kept results (result_cache.h) while its tables keep the
// stamps they were read at.
//
// Every failure is an automation::Error naming the statement: the
// translator's (kStatementError), SQLite's (kStatementError), or the
// free-table layer's with its own number and the file it concerns.
//
// Not thread-safe: a Database belongs to one connection, used by one
// thread at a time. Databases on the same folder, in this process or in
// others, exclude each other through the file locks.
#pragma once

#include <sqlite3.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "automation/variant.h"
#include "data/dbf/table.h"
#include "data/foxsql/dbf_vtab.h"
#include "data/foxsql/functions.h"
#include "data/foxsql/translate.h"
#include "data/foxsql/value_kind.h"

namespace data::foxsql {

using automation::Text;
using automation::TextView;
using automation::Variant;

/// A query's rows, all read: names and values of the columns in order.
struct Rows {
  std::vector<Text> names;
  std::vector<std::vector<Variant>> rows;
};

/// The rows of no query (what a write gives).
const std::shared_ptr<const Rows>& NoRows();

struct Outcome {
  bool query = false;
  /// A query's rows, read-only: the same rows may be handed to every
  /// connection that runs the statement while its tables are unchanged.
  std::shared_ptr<const Rows> rows = NoRows();
  int64_t affected = 0;   // the records a write touched
};

class Database {
 public:
  /// Opens the folder (a native path). Raises 76 naming it when it is not
  /// a folder.
  explicit Database(std::string folder);
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  /// Runs one statement.
  Outcome Run(TextView statement);

  /// The folder's tables: the names of its .dbf files without the
  /// extension, sorted without regard to case.
  std::vector<Text> TableNames() const;

  /// A table of the folder, fresh from its file (for listings of fields).
  /// Raises 53 when there is no such table.
  const dbf::Table& Table(TextView name);

  const std::string& folder() const { return folder_; }

  /// Clears what one user of the connection left behind (a kept error, the
  /// columns of an insert, a table's index upkeep) so that another may take
  /// it. False when the connection cannot be reused (SQLite is still inside
  /// a transaction).
  bool ResetForReuse();

 private:
  struct Entry;
  struct Prepared;

  // The prepared statement for a translated text: kept and reset between
  // uses, the least recently used dropped past the bound. `pure` tells
  // whether it calls only pure functions.
  sqlite3_stmt* Prepare(const std::string& sql, bool* pure);

  Entry& Resolve(TextView name, TextView statement);
  void Declare(Entry& entry);
  void CreateFreeTable(const CreateTable& create, TextView statement);
  Outcome Execute(const Translation& t, TextView statement);
  ColumnRenames FindLongColumns(const Translation& t, TextView statement);

  std::string folder_;
  std::string watched_folder_;  // folder_ as the folder watches name it
  sqlite3* db_ = nullptr;
  ErrorSlot errors_;
  std::map<std::string, std::unique_ptr<Entry>> tables_;  // by lower-case name
  std::map<int, Entry*> by_id_;
  int next_id_ = 1;
  std::map<std::string, std::unique_ptr<Prepared>> prepared_;  // by SQLite text
  std::map<Text, Translation, std::less<>> translated_;          // by statement text
  uint64_t prepare_clock_ = 0;
  bool impure_call_ = false;  // set while preparing, by the authorizer
};

}  // namespace data::foxsql
