// The SQLite virtual table module "foxdbf": one free table as a table of
// SQLite, read from and written into its .dbf/.fpt in place.
//
// Columns are the table's fields, declared with the type words that tell a
// record set what each holds (TEXT, LOGICAL, DATE, DATETIME, INTEGER,
// NUMERIC, DOUBLE, CURRENCY, BLOB); text columns use the fox collation.
// Deleted records are not seen; DELETE marks a record deleted; UPDATE
// writes each changed record with one write; INSERT appends. Equality
// filters on indexable columns take their candidate rows from the table's
// shared indexes (table_index.h). The rowid is the record number from 0.
//
// The caller (the statement runner) holds the table's file lock for the
// whole statement; the module itself takes none.
#pragma once

#include <sqlite3.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "data/dbf/table.h"
#include "data/foxsql/functions.h"
#include "data/foxsql/table_index.h"

namespace data::foxsql {

class DecodedTexts;

/// One table as the module sees it; owned by the statement runner and
/// alive as long as its virtual table.
struct BoundTable {
  dbf::Table* table = nullptr;
  std::shared_ptr<TableIndexes> indexes;
  /// For the INSERT being run: which fields it gives (empty: all). The
  /// others are left blank rather than Null, as FoxPro leaves them.
  std::vector<bool> insert_given;
  /// The statement only reads this table: its texts may come from the
  /// process's decoded columns (decoded_texts.h).
  bool read_only = false;
  /// The decoded columns the running statement reads. Their texts are
  /// handed to SQLite without a copy, so they are kept here until the
  /// runner has reset the statement (UnpinTexts), whatever becomes of the
  /// cursors and the process's cache meanwhile.
  std::vector<std::shared_ptr<DecodedTexts>> pinned_texts;
  ErrorSlot* errors = nullptr;
};

/// Lets go of the decoded columns kept for a statement that is done.
inline void UnpinTexts(BoundTable& b) { b.pinned_texts.clear(); }

inline constexpr const char* kDbfModule = "foxdbf";

/// Registers the module. A virtual table is then made with
///   CREATE VIRTUAL TABLE temp."name" USING foxdbf(ID)
/// where resolve(ID) gives its BoundTable.
void RegisterDbfModule(sqlite3* db, std::function<BoundTable*(int id)> resolve);

/// The CREATE TABLE statement the module declares for a table.
std::string DeclareTable(const dbf::Table& table);

}  // namespace data::foxsql
