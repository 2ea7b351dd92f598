// Fuzz target for the dialect: any text as a statement is translated, and
// what translates runs in SQLite with the dialect's functions over a small
// table, so that the parser, the emitter and the functions meet hostile
// input. Errors are expected; crashes and sanitizer reports are not.
#include <sqlite3.h>

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "automation/error.h"
#include "automation/text.h"
#include "data/foxsql/collation.h"
#include "data/foxsql/functions.h"
#include "data/foxsql/translate.h"

namespace {

struct Sandbox {
  sqlite3* db = nullptr;
  data::foxsql::ErrorSlot errors;
  Sandbox() {
    sqlite3_open(":memory:", &db);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    data::foxsql::RegisterCollations(db);
    data::foxsql::RegisterFunctions(db, &errors);
    // Statements against any table name reach this one or fail to prepare.
    sqlite3_exec(db,
                 "CREATE TABLE t(a TEXT COLLATE fox, b TEXT COLLATE fox, n NUMERIC, d DATE);"
                 "INSERT INTO t VALUES('运动会  ', 'x', 12.5, 45413), (NULL, '', 0, 0);",
                 nullptr, nullptr, nullptr);
    sqlite3_limit(db, SQLITE_LIMIT_LENGTH, 1 << 20);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Sandbox box;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string sql;
  try {
    sql = data::foxsql::Translate(automation::FromUtf8(text)).sql;
  } catch (const automation::Error&) {
    return 0;
  }
  if (sql.empty()) return 0;
  sqlite3_exec(box.db, "SAVEPOINT fuzz", nullptr, nullptr, nullptr);
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(box.db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK) {
    for (int rows = 0; rows < 100 && sqlite3_step(st) == SQLITE_ROW; ++rows) {
    }
  }
  sqlite3_finalize(st);
  box.errors.error.reset();
  sqlite3_exec(box.db, "ROLLBACK TO fuzz; RELEASE fuzz", nullptr, nullptr, nullptr);
  return 0;
}
