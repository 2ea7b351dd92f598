// The engine connections a worker thread keeps from page to page: opening a
// meet (an SQLite handle, its functions, a virtual table per table, the
// tables' files mapped) costs more than most pages' statements, so a
// connection closed by a page goes back to its thread's pool and the next
// page on the same folder takes it again.
//
// A pooled connection is safe to take again because every statement checks
// its tables afresh: the outermost table lock reloads the header (the
// record count, the structure if another program changed it), a file
// replaced since (another inode) is opened again, and the shared indexes
// are rebuilt when a table's stamp changed. What a page left is cleared on
// the way back (see Database::ResetForReuse); a unit of writes still open is
// the caller's to undo before giving the connection back.
//
//   auto db = TakeDatabase("/site/data");   // pooled or new; raises as Database()
//   db->Run(u"Select ...");
//   GiveBackDatabase(std::move(db));
//
// Thread-safe: each thread has its own pool.
#pragma once

#include <memory>
#include <string>

#include "data/foxsql/database.h"

namespace data::foxsql {

/// A connection on `folder` (a native path): this thread's idle one when it
/// has one, else a new one. Raises 76 when the folder does not exist, as a
/// new connection does.
std::unique_ptr<Database> TakeDatabase(const std::string& folder);

/// Keeps `db` for this thread's next TakeDatabase on its folder (closes it
/// when the pool is full or the connection cannot be reset).
void GiveBackDatabase(std::unique_ptr<Database> db);

/// Closes this thread's idle connections (for tests, and before a folder is
/// removed).
void ClearDatabasePool();

}  // namespace data::foxsql
