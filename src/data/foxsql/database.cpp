#include "data/foxsql/database.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <optional>

#include "automation/coerce.h"
#include "automation/cp936.h"
#include "automation/deadline.h"
#include "data/dbf/table_error.h"
#include "data/dbf/write_unit.h"
#include "data/foxsql/collation.h"
#include "data/foxsql/folder_watch.h"
#include "data/foxsql/fox_text.h"
#include "data/foxsql/index_upkeep.h"
#include "data/foxsql/result_cache.h"
#include "data/foxsql/settled_stamp.h"
#include "data/foxsql/statement_error.h"
#include "data/limits.h"
#include "platform/paths.h"

namespace data::foxsql {

using automation::Error;
namespace err = automation::err;

struct Database::Entry {
  Text name;
  std::string key;   // lower-case name: the virtual table's name
  std::string path;  // native path of the .dbf
  std::unique_ptr<dbf::Table> table;
  BoundTable bound;
  int id = 0;
  std::vector<dbf::Field> declared;  // the fields the virtual table has
};

struct Database::Prepared {
  sqlite3_stmt* st = nullptr;
  uint64_t used = 0;
  bool pure = false;  // calls only pure functions
  ~Prepared() { sqlite3_finalize(st); }
};

namespace {

constexpr int kMaxValueBytes = 256 << 20;

bool EndsWithDbf(std::string_view name) {
  if (name.size() < 5) return false;
  std::string ext(name.substr(name.size() - 4));
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext == ".dbf";
}

ValueKind KindOfDeclared(const char* declared) {
  if (!declared) return ValueKind::kAny;
  std::string_view d = declared;
  if (d == "TEXT") return ValueKind::kText;
  if (d == "LOGICAL") return ValueKind::kLogical;
  if (d == "DATE") return ValueKind::kDate;
  if (d == "DATETIME") return ValueKind::kDateTime;
  if (d == "INTEGER") return ValueKind::kInteger;
  if (d == "NUMERIC" || d == "DOUBLE") return ValueKind::kNumber;
  if (d == "CURRENCY") return ValueKind::kCurrency;
  return ValueKind::kAny;
}

Variant WholeValue(int64_t n) {
  if (n >= INT32_MIN && n <= INT32_MAX) return Variant(static_cast<int32_t>(n));
  return Variant(static_cast<double>(n));
}

// One result value as the record set hands it out, read from the row's
// value itself (one call to SQLite for the value, not one per property).
// The connection is used by one thread at a time, so the row's values
// need no protection.
Variant ColumnValue(sqlite3_value* v, ValueKind kind) {
  int type = sqlite3_value_type(v);
  switch (type) {
    case SQLITE_NULL: return Variant::Null();
    case SQLITE_TEXT:
      // Read as bytes: a text handed over with its length is not copied
      // to terminate it.
      return Variant(automation::FromUtf8(ValueText(v)));
    case SQLITE_BLOB: {
      auto* p = static_cast<const uint8_t*>(sqlite3_value_blob(v));
      return Variant(automation::Bytes(p, p + sqlite3_value_bytes(v)));
    }
    default: break;
  }
  double d = sqlite3_value_double(v);
  switch (kind) {
    case ValueKind::kLogical: return Variant(d != 0);
    case ValueKind::kDate:
    case ValueKind::kDateTime: return Variant(automation::Date{d});
    case ValueKind::kCurrency:
      if (std::fabs(d) < 9.2e14) return Variant(automation::CurrencyFromDouble(d));
      return Variant(d);
    case ValueKind::kNumber: return Variant(d);
    default:
      if (type == SQLITE_INTEGER) return WholeValue(sqlite3_value_int64(v));
      if (kind == ValueKind::kInteger && d == std::trunc(d) && std::fabs(d) <= 2147483647.0)
        return Variant(static_cast<int32_t>(d));
      return Variant(d);
  }
}

// What a query's rows depend on besides its tables: the folder, the SQLite
// text and the kinds the computed columns are read as.
std::string ResultKey(const std::string& folder, const Translation& t) {
  std::string key;
  key.reserve(folder.size() + t.sql.size() + 8);
  key += folder;
  key += '\0';
  key += t.sql;
  key += '\0';
  if (!t.computed_kinds) {
    key += '-';
  } else {
    for (ValueKind k : *t.computed_kinds) key += static_cast<char>('a' + static_cast<int>(k));
  }
  return key;
}

// A query answered with rows kept from an earlier statement.
Outcome KeptOutcome(std::shared_ptr<const Rows> rows) {
  Outcome out;
  out.query = true;
  out.rows = std::move(rows);
  return out;
}

// Holds the statement's table locks; releases them in reverse order.
class StatementLocks {
 public:
  ~StatementLocks() {
    for (auto it = held_.rbegin(); it != held_.rend(); ++it) (*it)->Unlock();
  }
  void Take(dbf::Table& t, dbf::LockKind kind) {
    t.Lock(kind);
    held_.push_back(&t);
  }

 private:
  std::vector<dbf::Table*> held_;
};

// Resets a kept statement after its use, finished or not, so that it holds
// no cursor on its tables.
class StatementUse {
 public:
  explicit StatementUse(sqlite3_stmt* st) : st_(st) {}
  ~StatementUse() {
    sqlite3_reset(st_);
    sqlite3_clear_bindings(st_);
  }
  sqlite3_stmt* get() const { return st_; }

 private:
  sqlite3_stmt* st_;
};

}  // namespace

namespace {

// SQLite counts every allocation under one process-wide mutex unless told
// not to; with a connection per page on many worker threads that lock
// serialised them. Nothing here reads those counts. The setting must come
// before SQLite's first use in the process (later it is refused, harmlessly).
void ConfigureSqlite() {
  static const bool done = [] {
    sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
    return true;
  }();
  (void)done;
}

}  // namespace

const std::shared_ptr<const Rows>& NoRows() {
  static const std::shared_ptr<const Rows> none = std::make_shared<const Rows>();
  return none;
}

Database::Database(std::string folder) : folder_(std::move(folder)) {
  ConfigureSqlite();
  struct stat st;
  if (::stat(folder_.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
    throw Error(err::kPathNotFound, u"Path not found: " + automation::FromUtf8(folder_));
  watched_folder_ = ResolvedFolder(folder_);
  if (sqlite3_open_v2(":memory:", &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                      nullptr) != SQLITE_OK) {
    sqlite3_close(db_);
    throw Error(err::kOutOfMemory);
  }
  // A double-quoted name that matches no column must be an error, never a text.
  sqlite3_db_config(db_, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
  sqlite3_db_config(db_, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
  // No text or statement result beyond this size (memo fields included).
  sqlite3_limit(db_, SQLITE_LIMIT_LENGTH, kMaxValueBytes);
  // A statement stops when the page that runs it is out of time.
  sqlite3_progress_handler(
      db_, 10000, [](void*) { return automation::DeadlinePassed() ? 1 : 0; }, nullptr);
  RegisterCollations(db_);
  RegisterFunctions(db_, &errors_);
  // Told every function a statement calls while it is prepared (and never
  // refusing anything): a statement that calls one that is not pure is
  // never answered from the kept results. Installed once, since installing
  // an authorizer expires every prepared statement.
  sqlite3_set_authorizer(
      db_,
      [](void* self, int action, const char*, const char* function, const char*, const char*) {
        if (action == SQLITE_FUNCTION && (!function || !IsPureFunction(function)))
          static_cast<Database*>(self)->impure_call_ = true;
        return SQLITE_OK;
      },
      this);
  RegisterDbfModule(db_, [this](int id) -> BoundTable* {
    auto it = by_id_.find(id);
    return it == by_id_.end() ? nullptr : &it->second->bound;
  });
  // A save interrupted by a writer's death is undone before anyone reads.
  dbf::RecoverOnOpen(folder_);
}

Database::~Database() {
  prepared_.clear();
  // The virtual tables go with the connection, before the tables they use.
  sqlite3_close_v2(db_);
}

bool Database::ResetForReuse() {
  if (!sqlite3_get_autocommit(db_)) return false;
  errors_.error.reset();
  for (auto& [key, e] : tables_) {
    e->bound.insert_given.clear();
    e->table->set_index_kept(false);
  }
  return true;
}

sqlite3_stmt* Database::Prepare(const std::string& sql, bool* pure) {
  auto it = prepared_.find(sql);
  if (it != prepared_.end()) {
    it->second->used = ++prepare_clock_;
    *pure = it->second->pure;
    return it->second->st;
  }
  auto p = std::make_unique<Prepared>();
  impure_call_ = false;
  if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &p->st, nullptr) != SQLITE_OK)
    return nullptr;
  p->pure = *pure = !impure_call_;
  if (prepared_.size() >= limits::kPreparedStatementsPerConnection) {
    auto oldest = std::min_element(prepared_.begin(), prepared_.end(), [](const auto& a, const auto& b) {
      return a.second->used < b.second->used;
    });
    prepared_.erase(oldest);
  }
  p->used = ++prepare_clock_;
  sqlite3_stmt* st = p->st;
  prepared_.emplace(sql, std::move(p));
  return st;
}

std::vector<Text> Database::TableNames() const {
  std::vector<Text> names;
  if (DIR* d = ::opendir(folder_.c_str())) {
    while (dirent* e = ::readdir(d)) {
      std::string_view name = e->d_name;
      if (!EndsWithDbf(name)) continue;
      struct stat st;
      if (::stat((folder_ + "/" + std::string(name)).c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        continue;
      names.push_back(automation::FromUtf8(name.substr(0, name.size() - 4)));
    }
    ::closedir(d);
  }
  std::sort(names.begin(), names.end(), [](const Text& a, const Text& b) {
    return automation::AsciiLower(a) < automation::AsciiLower(b);
  });
  return names;
}

Database::Entry& Database::Resolve(TextView name, TextView statement) {
  // Errors name the statement when there is one (not for a listing).
  auto with_statement = [&](const Error& e) { return statement.empty() ? e : WithStatement(e, statement); };
  if (name.empty() || name.find_first_of(u"/\\") != TextView::npos || name == u"." || name == u"..")
    throw with_statement(Error(kStatementError, u"Invalid table name " + Text(name)));
  std::string key = automation::ToUtf8(automation::AsciiLower(name));
  auto it = tables_.find(key);
  if (it != tables_.end()) {
    // The file may have been replaced (a restored backup): then the table
    // is opened again.
    Entry& e = *it->second;
    struct stat st;
    dbf::ChangeStamp s = e.table->Stamp();
    if (::stat(e.path.c_str(), &st) == 0 && static_cast<uint64_t>(st.st_dev) == s.device &&
        static_cast<uint64_t>(st.st_ino) == s.inode)
      return e;
    sqlite3_exec(db_, ("DROP TABLE temp." + QuoteName(automation::FromUtf8(key))).c_str(), nullptr,
                 nullptr, nullptr);
    by_id_.erase(e.id);
    tables_.erase(it);
  }
  std::string path = platform::NativePath(automation::FromUtf8(folder_) + u"/" + Text(name) + u".dbf");
  struct stat st;
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
    throw with_statement(Error(err::kFileNotFound, u"File '" + Text(name) + u".dbf' does not exist"));
  auto entry = std::make_unique<Entry>();
  entry->name = Text(name);
  entry->key = key;
  entry->path = path;
  try {
    entry->table = dbf::Table::Open(path, dbf::Access::kWrite);
  } catch (const Error& e) {
    if (e.number() != err::kPermissionDenied) throw with_statement(e);
    try {
      entry->table = dbf::Table::Open(path, dbf::Access::kRead);
    } catch (const Error& e2) {
      throw with_statement(e2);
    }
  }
  entry->bound.table = entry->table.get();
  entry->bound.indexes = TableIndexes::For(entry->table->Stamp());
  entry->bound.errors = &errors_;
  entry->id = next_id_++;
  Entry& e = *entry;
  by_id_[e.id] = &e;
  tables_[key] = std::move(entry);
  return e;
}

// Makes the virtual table match the table's fields (again, when another
// program changed them).
void Database::Declare(Entry& e) {
  const auto& fields = e.table->fields();
  auto same = [](const dbf::Field& a, const dbf::Field& b) {
    return a.name == b.name && a.type == b.type && a.width == b.width && a.decimals == b.decimals &&
           a.binary == b.binary && a.nullable == b.nullable;
  };
  if (!e.declared.empty() &&
      std::equal(fields.begin(), fields.end(), e.declared.begin(), e.declared.end(), same))
    return;
  std::string name = "temp." + QuoteName(automation::FromUtf8(e.key));
  if (!e.declared.empty()) sqlite3_exec(db_, ("DROP TABLE " + name).c_str(), nullptr, nullptr, nullptr);
  e.declared.clear();
  std::string sql = "CREATE VIRTUAL TABLE " + name + " USING " + kDbfModule + "(" +
                    std::to_string(e.id) + ")";
  char* message = nullptr;
  if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
    Text text = automation::FromUtf8(message ? message : "cannot declare the table");
    sqlite3_free(message);
    throw Error(err::kPathFileAccess, automation::FromUtf8(e.table->file_name()) + u": " + text);
  }
  e.declared = fields;
}

const dbf::Table& Database::Table(TextView name) {
  Entry& e = Resolve(name, u"");
  dbf::TableLock lock(*e.table, dbf::LockKind::kShared);
  return *e.table;
}

Outcome Database::Run(TextView statement) {
  // A statement run before is not translated again; one whose columns
  // depend on the tables' fields (long names) always is.
  if (auto kept = translated_.find(statement); kept != translated_.end()) return Execute(kept->second, statement);
  Translation t = Translate(statement);
  if (t.kind != StatementKind::kCreateTable && t.long_columns.empty()) {
    if (translated_.size() >= limits::kTranslationsPerConnection) translated_.clear();
    auto kept = translated_.emplace(Text(statement), std::move(t)).first;
    return Execute(kept->second, statement);
  }
  if (t.kind == StatementKind::kCreateTable) {
    CreateFreeTable(t.create, statement);
    return {};
  }
  if (!t.long_columns.empty()) {
    ColumnRenames renames = FindLongColumns(t, statement);
    if (!renames.empty()) t = Translate(statement, &renames);
  }
  return Execute(t, statement);
}

// A field name holds at most ten bytes, so a statement written with the
// longer name a column was meant to have ("DateAndTime") names the field
// stored as its first ten bytes ("DateAndTim"). Such a name is matched
// without case among the fields of the statement's tables; one match
// renames it, none leaves it to SQLite's "no such column", and matches in
// several tables are an error.
ColumnRenames Database::FindLongColumns(const Translation& t, TextView statement) {
  auto lower = [](std::string s) {
    for (char& c : s)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
  };
  std::vector<Entry*> entries;
  for (const Text& name : t.tables) entries.push_back(&Resolve(name, statement));
  ColumnRenames renames;
  for (const Text& column : t.long_columns) {
    std::string prefix = lower(automation::ToGbk(column).substr(0, kFieldNameBytes));
    const dbf::Field* found = nullptr;
    for (Entry* e : entries) {
      for (const dbf::Field& f : e->table->fields()) {
        if (lower(automation::ToGbk(f.name)) != prefix) continue;
        if (found) ThrowStatementError(u"Ambiguous column name " + column, statement);
        found = &f;
      }
    }
    if (found) renames[column] = found->name;
  }
  return renames;
}

Outcome Database::Execute(const Translation& t, TextView statement) {
  // A query asked before, with nothing in the folder changed since (the
  // watch says so in one call), is answered without looking at its tables.
  const bool query = !t.IsWrite();
  const uint64_t generation = query ? FolderGeneration(watched_folder_) : 0;
  std::string result_key;
  if (query) {
    result_key = ResultKey(folder_, t);
    if (auto kept = ResultCache::Shared().FindAt(result_key, generation)) return KeptOutcome(std::move(kept));
  }
  std::vector<Entry*> entries;
  for (const Text& name : t.tables) {
    Entry* e = &Resolve(name, statement);
    if (std::find(entries.begin(), entries.end(), e) == entries.end()) entries.push_back(e);
  }
  Entry* target = t.IsWrite() ? &Resolve(t.target, statement) : nullptr;
  // One order for every statement, so that two of them never wait for
  // each other's second table.
  std::sort(entries.begin(), entries.end(), [](Entry* a, Entry* b) { return a->key < b->key; });

  // A write is a unit of its own, or part of the unit the caller runs:
  // a statement that fails is never half applied.
  std::optional<dbf::WriteUnit> unit;
  if (target) {
    try {
      unit.emplace(folder_);
    } catch (const Error& e) {
      throw WithStatement(e, statement);
    }
  }
  StatementLocks locks;
  std::optional<IndexUpkeep> upkeep;
  errors_.error.reset();
  // A query's rows are kept with the stamps of its tables as the locks see
  // them; the clock is read first, so that a write after the stamps shows
  // a later time than the one they were judged settled by.
  const int64_t read_at = query ? FileClockNow() : 0;
  std::vector<dbf::ChangeStamp> stamps;
  try {
    for (Entry* e : entries)
      locks.Take(*e->table, e == target ? dbf::LockKind::kExclusive : dbf::LockKind::kShared);
    if (query) {
      stamps.reserve(entries.size());
      for (Entry* e : entries) stamps.push_back(e->table->Stamp());
      if (auto kept = ResultCache::Shared().Find(result_key, stamps, generation))
        return KeptOutcome(std::move(kept));
    }
    for (Entry* e : entries) Declare(*e);
    // A structural index is checked before the write and built again after.
    if (target && target->table->HasStructuralIndex())
      upkeep.emplace(db_, *target->table, target->key);
  } catch (const Error& e) {
    throw WithStatement(e, statement);
  }

  for (Entry* e : entries) e->bound.read_only = e != target;
  if (target) target->bound.read_only = false;
  if (target) {
    target->bound.insert_given.clear();
    if (!t.insert_columns.empty()) {
      target->bound.insert_given.assign(target->table->fields().size(), false);
      for (const Text& c : t.insert_columns) {
        int i = target->table->FieldIndex(c);
        if (i >= 0) target->bound.insert_given[static_cast<size_t>(i)] = true;
      }
    }
  }

  auto fail = [&]() -> Error {
    if (errors_.error) return WithStatement(*errors_.error, statement);
    if (sqlite3_errcode(db_) == SQLITE_INTERRUPT && automation::DeadlinePassed()) return Error(err::kTimedOut);
    return Error(kStatementError, QuoteStatement(automation::FromUtf8(sqlite3_errmsg(db_)), statement));
  };
  bool pure = false;
  sqlite3_stmt* prepared = Prepare(t.sql, &pure);
  if (!prepared) throw fail();
  // Declared before the statement's use, so that the texts the statement
  // was handed without a copy are let go only after it is reset.
  struct Unpin {
    std::vector<Entry*>& entries;
    ~Unpin() {
      for (Entry* e : entries) UnpinTexts(e->bound);
    }
  } unpin{entries};
  StatementUse st(prepared);

  Outcome out;
  out.query = query;
  auto rows = std::make_shared<Rows>();
  std::vector<ValueKind> kinds;
  if (query) {
    int n = sqlite3_column_count(st.get());
    size_t next_computed = 0;
    for (int i = 0; i < n; ++i) {
      rows->names.push_back(automation::FromUtf8(sqlite3_column_name(st.get(), i)));
      const char* declared = sqlite3_column_decltype(st.get(), i);
      ValueKind kind = KindOfDeclared(declared);
      if (!declared && t.computed_kinds && next_computed < t.computed_kinds->size())
        kind = (*t.computed_kinds)[next_computed++];
      kinds.push_back(kind);
    }
  }
  for (;;) {
    int rc = sqlite3_step(st.get());
    if (rc == SQLITE_DONE) break;
    if (rc != SQLITE_ROW) throw fail();
    if (!query) continue;
    std::vector<Variant> row;
    row.reserve(kinds.size());
    for (size_t i = 0; i < kinds.size(); ++i)
      row.push_back(ColumnValue(sqlite3_column_value(st.get(), static_cast<int>(i)), kinds[i]));
    rows->rows.push_back(std::move(row));
  }
  if (query) {
    out.rows = rows;
    // Kept for the next statement that asks the same, unless the rows may
    // change with nothing written (the clock) or a table changed too
    // recently for its stamp to tell the next change.
    if (pure && std::all_of(stamps.begin(), stamps.end(), [&](const auto& s) { return Settled(s, read_at); }))
      ResultCache::Shared().Keep(result_key, std::move(stamps), std::move(rows), generation);
  } else {
    out.affected = sqlite3_changes64(db_);
  }
  if (target) target->bound.insert_given.clear();
  try {
    if (upkeep) upkeep->Rebuild();
    if (unit) unit->Commit();
  } catch (const Error& e) {
    throw WithStatement(e, statement);
  }
  return out;
}

void Database::CreateFreeTable(const CreateTable& create, TextView statement) {
  const Text& name = create.table;
  if (name.empty() || name.find_first_of(u"/\\") != Text::npos)
    ThrowStatementError(u"Invalid table name " + name, statement);
  std::vector<dbf::FieldSpec> fields;
  for (const ColumnDecl& c : create.columns) {
    dbf::FieldSpec f;
    f.name = c.name;
    if (!dbf::IsFieldType(static_cast<char>(c.type.letter)))
      ThrowStatementError(u"Unknown type for " + c.name, statement);
    f.type = static_cast<dbf::FieldType>(static_cast<char>(c.type.letter));
    f.width = std::max(c.type.width, 0);
    f.decimals = std::max(c.type.decimals, 0);
    f.nullable = c.nullable;
    fields.push_back(std::move(f));
  }
  std::string path = platform::NativePath(automation::FromUtf8(folder_) + u"/" + name + u".dbf");
  try {
    dbf::WriteUnit unit(folder_);
    dbf::Table::Create(path, fields);
    unit.Commit();
  } catch (const Error& e) {
    throw WithStatement(e, statement);
  }
}

}  // namespace data::foxsql
