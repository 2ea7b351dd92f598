// Keeps a table's structural index (.cdx) up to date across a write: before
// the write every tag's key (and filter) expression is evaluated over the
// table with the engine's own FoxPro functions, so that a tag the engine
// cannot keep refuses the write before anything changes; after the write
// every tag is built again from the table's rows and the file is rewritten
// in place (the table's exclusive lock is held throughout).
//
// Keys are the expression's text in code page 936 under the machine
// collation, blank-padded to the tag's key length. Deleted records are not
// indexed (the engine does not see them).
#pragma once

#include <sqlite3.h>

#include <string>
#include <vector>

#include "data/dbf/cdx_file.h"
#include "data/dbf/table.h"

namespace data::foxsql {

class IndexUpkeep {
 public:
  /// Reads the table's .cdx and checks every tag over the declared virtual
  /// table named `sql_name` (its name as the engine declared it). Raises 70 naming the table's index and the tag
  /// when the index cannot be kept (missing or unreadable file, a key that
  /// is not text, an expression the engine does not know).
  IndexUpkeep(sqlite3* db, dbf::Table& table, const std::string& sql_name);

  /// Builds every tag again from the rows as they are now and rewrites the
  /// .cdx file.
  void Rebuild();

 private:
  std::vector<std::vector<dbf::CdxKey>> EvaluateAll();
  [[noreturn]] void Refuse(const std::string& why) const;

  sqlite3* db_;
  dbf::Table& table_;
  std::string sql_name_;
  std::string path_;
  std::vector<dbf::CdxTag> tags_;
  std::vector<std::string> queries_;
};

}  // namespace data::foxsql
