#include "data/foxsql/dbf_vtab.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "automation/coerce.h"
#include "data/foxsql/collation.h"
#include "data/foxsql/decoded_texts.h"
#include "data/foxsql/fox_text.h"
#include "data/foxsql/translate.h"

namespace data::foxsql {

using automation::Variant;
using dbf::FieldType;

namespace {

// ---------------------------------------------------------------------------
// Structures.

using Resolver = std::function<BoundTable*(int id)>;

struct DbfVtab {
  sqlite3_vtab base;  // first: SQLite sees only this
  BoundTable* bound;
};

struct DbfCursor {
  sqlite3_vtab_cursor base;  // first
  // Rows from an index, or a scan of every record when !indexed.
  bool indexed = false;
  std::vector<uint32_t> rows;
  size_t next_in_rows = 0;
  uint32_t scan_end = 0;
  uint32_t next_in_scan = 0;
  uint32_t row = 0;
  bool eof = true;
  // The table's decoded texts (a read-only statement).
  std::shared_ptr<DecodedTexts> texts;
  // How each column is read, found on its first read after xFilter: a
  // column is read many times a row (every slice of a packed field).
  struct ColumnPlan {
    bool known = false;
    bool plain = false;     // a plain character field
    bool nullable = false;  // it has a null flag to look at
    const std::vector<std::string>* decoded = nullptr;  // nullptr: decoded row by row
  };
  std::vector<ColumnPlan> plans;
};

BoundTable& Bound(sqlite3_vtab* vtab) { return *reinterpret_cast<DbfVtab*>(vtab)->bound; }
BoundTable& Bound(sqlite3_vtab_cursor* cur) { return Bound(cur->pVtab); }

// Keeps an automation error for the runner and hands SQLite its text.
int Fail(sqlite3_vtab* vtab, const automation::Error& e) {
  BoundTable& b = Bound(vtab);
  if (b.errors && !b.errors->error) b.errors->error = e;
  sqlite3_free(vtab->zErrMsg);
  vtab->zErrMsg = sqlite3_mprintf("%s", automation::ToUtf8(e.description()).c_str());
  return SQLITE_ERROR;
}

// ---------------------------------------------------------------------------
// Values between the table and SQLite.

const char* DeclaredType(const dbf::Field& f) {
  switch (f.type) {
    case FieldType::kCharacter:
    case FieldType::kVarchar: return f.binary ? "BLOB" : "TEXT";
    case FieldType::kMemo: return f.binary ? "BLOB" : "TEXT";
    case FieldType::kNumeric:
    case FieldType::kFloat: return "NUMERIC";
    case FieldType::kDouble: return "DOUBLE";
    case FieldType::kInteger: return "INTEGER";
    case FieldType::kCurrency: return "CURRENCY";
    case FieldType::kLogical: return "LOGICAL";
    case FieldType::kDate: return "DATE";
    case FieldType::kDateTime: return "DATETIME";
    default: return "BLOB";
  }
}

bool IsTextField(const dbf::Field& f) {
  return (f.type == FieldType::kCharacter || f.type == FieldType::kVarchar ||
          f.type == FieldType::kMemo) &&
         !f.binary;
}

void ResultVariant(sqlite3_context* ctx, const Variant& v) {
  std::visit(
      [&](const auto& x) {
        using T = std::decay_t<decltype(x)>;
        if constexpr (std::is_same_v<T, bool>) {
          sqlite3_result_int(ctx, x ? 1 : 0);
        } else if constexpr (std::is_same_v<T, uint8_t> || std::is_same_v<T, int16_t> ||
                             std::is_same_v<T, int32_t>) {
          sqlite3_result_int64(ctx, x);
        } else if constexpr (std::is_same_v<T, float> || std::is_same_v<T, double>) {
          sqlite3_result_double(ctx, x);
        } else if constexpr (std::is_same_v<T, automation::Currency>) {
          sqlite3_result_double(ctx, automation::CurrencyToDouble(x));
        } else if constexpr (std::is_same_v<T, automation::Date>) {
          sqlite3_result_double(ctx, x.serial);
        } else if constexpr (std::is_same_v<T, automation::Text>) {
          std::string s = automation::ToUtf8(x);
          ResultUtf8(ctx, s);
        } else if constexpr (std::is_same_v<T, automation::Bytes>) {
          sqlite3_result_blob(ctx, x.data(), static_cast<int>(x.size()), SQLITE_TRANSIENT);
        } else {
          sqlite3_result_null(ctx);
        }
      },
      v.storage());
}

// A value SQLite computed, as the field's type takes it. What does not fit
// the type is passed on as it is, and the table refuses it by name.
Variant FieldValue(const dbf::Field& f, sqlite3_value* v) {
  int type = sqlite3_value_type(v);
  if (type == SQLITE_NULL) return Variant::Null();
  if (type == SQLITE_BLOB) {
    auto* p = static_cast<const uint8_t*>(sqlite3_value_blob(v));
    return Variant(automation::Bytes(p, p + sqlite3_value_bytes(v)));
  }
  if (type == SQLITE_TEXT) {
    automation::Text text = automation::FromUtf8(ValueText(v));
    return Variant(std::move(text));
  }
  double d = sqlite3_value_double(v);
  switch (f.type) {
    case FieldType::kLogical: return Variant(d != 0);
    case FieldType::kDate:
    case FieldType::kDateTime: return Variant(automation::Date{d});
    case FieldType::kCurrency: return Variant(automation::CurrencyFromDouble(d));
    case FieldType::kInteger: {
      double r = FoxRound(d, 0);
      if (std::fabs(r) <= 2147483647.0) return Variant(static_cast<int32_t>(r));
      return Variant(d);
    }
    default:
      if (type == SQLITE_INTEGER) {
        int64_t n = sqlite3_value_int64(v);
        if (n >= INT32_MIN && n <= INT32_MAX) return Variant(static_cast<int32_t>(n));
      }
      return Variant(d);
  }
}

// ---------------------------------------------------------------------------
// The query plan: which equality filters the indexes answer. idxStr lists
// them as "<field><kind>" items separated by commas (kind r, a or n), in
// the order of their arguments to xFilter.

char KindLetter(KeyKind k) { return k == KeyKind::kRTrim ? 'r' : k == KeyKind::kAllTrim ? 'a' : 'n'; }
KeyKind KindOf(char c) { return c == 'r' ? KeyKind::kRTrim : c == 'a' ? KeyKind::kAllTrim : KeyKind::kNumber; }

// The value's type is one the index can look up for this kind of key
// (affinity would convert anything else before comparing).
bool Compatible(KeyKind kind, sqlite3_value* v) {
  int t = sqlite3_value_type(v);
  return kind == KeyKind::kNumber ? (t == SQLITE_INTEGER || t == SQLITE_FLOAT) : t == SQLITE_TEXT;
}

int BestIndex(sqlite3_vtab* vtab, sqlite3_index_info* info) {
  BoundTable& b = Bound(vtab);
  const auto& fields = b.table->fields();
  const double rows = std::max<double>(1, b.table->RecordCount());
  std::string plan;
  int used = 0;
  for (int i = 0; i < info->nConstraint; ++i) {
    const auto& c = info->aConstraint[i];
    if (!c.usable || c.op != SQLITE_INDEX_CONSTRAINT_EQ || c.iColumn < 0 ||
        c.iColumn >= static_cast<int>(fields.size()))
      continue;
    const dbf::Field& f = fields[static_cast<size_t>(c.iColumn)];
    KeyKind kind = KeyKind::kNumber;
    if (IsTextField(f)) {
      const char* collation = sqlite3_vtab_collation(info, i);
      if (collation && sqlite3_stricmp(collation, kFoxCollation) == 0)
        kind = KeyKind::kRTrim;
      else if (collation && sqlite3_stricmp(collation, kAllTrimCollation) == 0)
        kind = KeyKind::kAllTrim;
      else
        continue;
    }
    if (!CanIndex(f, kind)) continue;
    // SQLite still checks every row the index gives: another program may
    // have changed a record within the file system's clock tick after this
    // process's last write, unseen by the stamp; such a row must not be
    // touched by a statement it no longer matches.
    info->aConstraintUsage[i].argvIndex = ++used;
    if (!plan.empty()) plan += ',';
    plan += std::to_string(c.iColumn);
    plan += KindLetter(kind);
  }
  if (used > 0) {
    info->idxNum = used;
    info->idxStr = sqlite3_mprintf("%s", plan.c_str());
    info->needToFreeIdxStr = 1;
    info->estimatedCost = 20.0 / used;
    info->estimatedRows = std::max<sqlite3_int64>(1, static_cast<sqlite3_int64>(rows / (50.0 * used)));
  } else {
    info->idxNum = 0;
    info->estimatedCost = 100.0 + rows * 10;
    info->estimatedRows = static_cast<sqlite3_int64>(rows);
  }
  return SQLITE_OK;
}

// ---------------------------------------------------------------------------
// Reading.

void Advance(DbfCursor* cur) {
  BoundTable& b = Bound(&cur->base);
  if (cur->indexed) {
    if (cur->next_in_rows >= cur->rows.size()) {
      cur->eof = true;
      return;
    }
    cur->row = cur->rows[cur->next_in_rows++];
    cur->eof = false;
    return;
  }
  while (cur->next_in_scan < cur->scan_end) {
    uint32_t row = cur->next_in_scan++;
    if (!b.table->IsDeleted(row)) {
      cur->row = row;
      cur->eof = false;
      return;
    }
  }
  cur->eof = true;
}

int Filter(sqlite3_vtab_cursor* base, int idx_num, const char* idx_str, int argc,
           sqlite3_value** argv) {
  auto* cur = reinterpret_cast<DbfCursor*>(base);
  BoundTable& b = Bound(base);
  try {
    cur->indexed = false;
    cur->rows.clear();
    cur->next_in_rows = 0;
    cur->next_in_scan = 0;
    cur->scan_end = b.table->RecordCount();
    cur->texts = b.read_only ? DecodedTexts::Snapshot(*b.table) : nullptr;
    if (cur->texts && (b.pinned_texts.empty() || b.pinned_texts.back() != cur->texts))
      b.pinned_texts.push_back(cur->texts);
    cur->plans.assign(b.table->fields().size(), {});
    std::vector<KeyLookup> lookups;
    const char* p = idx_num > 0 && idx_str ? idx_str : "";
    for (int arg = 0; *p && arg < argc; ++arg) {
      char* end = nullptr;
      int column = static_cast<int>(std::strtol(p, &end, 10));
      KeyKind kind = KindOf(*end);
      p = end + 1;
      if (*p == ',') ++p;
      sqlite3_value* v = argv[arg];
      if (sqlite3_value_type(v) == SQLITE_NULL) {  // equal to Null: never
        cur->eof = true;
        return SQLITE_OK;
      }
      if (!Compatible(kind, v)) continue;  // SQLite checks this one itself
      if (kind == KeyKind::kNumber)
        lookups.push_back({column, kind, NumberKey(sqlite3_value_double(v))});
      else
        lookups.push_back({column, kind,
                           TextKey(ValueText(v), kind)});
    }
    if (!lookups.empty()) {
      cur->indexed = true;
      cur->rows = b.indexes->Find(*b.table, lookups);
    }
    Advance(cur);
    return SQLITE_OK;
  } catch (const automation::Error& e) {
    return Fail(base->pVtab, e);
  }
}

int Next(sqlite3_vtab_cursor* base) {
  try {
    Advance(reinterpret_cast<DbfCursor*>(base));
    return SQLITE_OK;
  } catch (const automation::Error& e) {
    return Fail(base->pVtab, e);
  }
}

int Eof(sqlite3_vtab_cursor* base) { return reinterpret_cast<DbfCursor*>(base)->eof; }

int Column(sqlite3_vtab_cursor* base, sqlite3_context* ctx, int column) {
  auto* cur = reinterpret_cast<DbfCursor*>(base);
  // An UPDATE that leaves this column alone needs no value for it.
  if (sqlite3_vtab_nochange(ctx)) return SQLITE_OK;
  try {
    const dbf::Table& table = *Bound(base).table;
    const auto c = static_cast<size_t>(column);
    if (c >= cur->plans.size()) cur->plans.resize(c + 1);
    DbfCursor::ColumnPlan& plan = cur->plans[c];
    if (!plan.known) {
      plan.plain = IsPlainCharacter(table, column);
      plan.nullable = table.fields()[c].null_bit >= 0;
      plan.decoded = plan.plain && cur->texts ? cur->texts->Column(table, column) : nullptr;
      plan.known = true;
    }
    if (plan.plain) {
      // The common case, straight from the record's bytes to UTF-8.
      if (plan.nullable && table.IsNull(cur->row, column)) {
        sqlite3_result_null(ctx);
      } else if (plan.decoded && cur->row < plan.decoded->size()) {
        // Pinned for the statement (BoundTable::pinned_texts): no copy,
        // and no scan for its length.
        const std::string& kept = (*plan.decoded)[cur->row];
        sqlite3_result_text(ctx, kept.data(), static_cast<int>(kept.size()), SQLITE_STATIC);
      } else {
        std::string s = GbkToUtf8(table.RawField(cur->row, column));
        ResultUtf8(ctx, s);
      }
      return SQLITE_OK;
    }
    ResultVariant(ctx, table.Value(cur->row, column));
    return SQLITE_OK;
  } catch (const automation::Error& e) {
    Fail(base->pVtab, e);
    sqlite3_result_error(ctx, base->pVtab->zErrMsg, -1);
    return SQLITE_ERROR;
  }
}

int Rowid(sqlite3_vtab_cursor* base, sqlite3_int64* rowid) {
  *rowid = reinterpret_cast<DbfCursor*>(base)->row;
  return SQLITE_OK;
}

// ---------------------------------------------------------------------------
// Writing.

std::vector<int> AllFields(const dbf::Table& t) {
  std::vector<int> all(t.fields().size());
  for (size_t i = 0; i < all.size(); ++i) all[i] = static_cast<int>(i);
  return all;
}

int Update(sqlite3_vtab* vtab, int argc, sqlite3_value** argv, sqlite3_int64* rowid) {
  BoundTable& b = Bound(vtab);
  dbf::Table& table = *b.table;
  const auto& fields = table.fields();
  try {
    if (argc == 1) {  // DELETE
      auto row = static_cast<uint32_t>(sqlite3_value_int64(argv[0]));
      std::vector<int> all = AllFields(table);
      TableIndexes::RecordWrite write(*b.indexes, table, row, all);
      table.SetDeleted(row, true);
      write.Done(table, row, true);
      return SQLITE_OK;
    }
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {  // INSERT
      std::vector<Variant> values(fields.size());
      for (size_t i = 0; i < fields.size(); ++i)
        if (b.insert_given.empty() || b.insert_given[i])
          values[i] = FieldValue(fields[i], argv[2 + i]);
      std::vector<int> all = AllFields(table);
      TableIndexes::RecordWrite write(*b.indexes, table, -1, all);
      uint32_t row = table.Append(values);
      write.Done(table, row, false);
      *rowid = row;
      return SQLITE_OK;
    }
    // UPDATE: only the fields whose value changes are written (in the one
    // write of the record).
    auto row = static_cast<uint32_t>(sqlite3_value_int64(argv[0]));
    if (sqlite3_value_int64(argv[1]) != row)
      throw automation::Error(automation::err::kInvalidCall, u"A record number cannot be changed");
    std::vector<dbf::FieldValue> changes;
    std::vector<int> changed;
    for (size_t i = 0; i < fields.size(); ++i) {
      sqlite3_value* v = argv[2 + i];
      if (sqlite3_value_nochange(v)) continue;
      Variant value = FieldValue(fields[i], v);
      if (value == table.Value(row, static_cast<int>(i))) continue;
      changes.push_back({static_cast<int>(i), std::move(value)});
      changed.push_back(static_cast<int>(i));
    }
    if (changes.empty()) return SQLITE_OK;
    TableIndexes::RecordWrite write(*b.indexes, table, row, changed);
    table.Update(row, changes);
    write.Done(table, row, false);
    return SQLITE_OK;
  } catch (const automation::Error& e) {
    return Fail(vtab, e);
  }
}

// ---------------------------------------------------------------------------
// Life cycle.

int Connect(sqlite3* db, void* aux, int argc, const char* const* argv, sqlite3_vtab** out,
            char** err) {
  auto& resolve = *static_cast<Resolver*>(aux);
  BoundTable* bound = argc > 3 ? resolve(std::atoi(argv[3])) : nullptr;
  if (!bound) {
    *err = sqlite3_mprintf("no such free table");
    return SQLITE_ERROR;
  }
  int rc = sqlite3_declare_vtab(db, DeclareTable(*bound->table).c_str());
  if (rc != SQLITE_OK) {
    *err = sqlite3_mprintf("%s", sqlite3_errmsg(db));
    return rc;
  }
  auto* vtab = new DbfVtab{};
  vtab->bound = bound;
  *out = &vtab->base;
  return SQLITE_OK;
}

int Disconnect(sqlite3_vtab* vtab) {
  sqlite3_free(vtab->zErrMsg);
  delete reinterpret_cast<DbfVtab*>(vtab);
  return SQLITE_OK;
}

int Open(sqlite3_vtab*, sqlite3_vtab_cursor** out) {
  *out = &(new DbfCursor{})->base;
  return SQLITE_OK;
}

int Close(sqlite3_vtab_cursor* cur) {
  delete reinterpret_cast<DbfCursor*>(cur);
  return SQLITE_OK;
}

const sqlite3_module kModule = {
    /* iVersion    */ 3,
    /* xCreate     */ Connect,
    /* xConnect    */ Connect,
    /* xBestIndex  */ BestIndex,
    /* xDisconnect */ Disconnect,
    /* xDestroy    */ Disconnect,
    /* xOpen       */ Open,
    /* xClose      */ Close,
    /* xFilter     */ Filter,
    /* xNext       */ Next,
    /* xEof        */ Eof,
    /* xColumn     */ Column,
    /* xRowid      */ Rowid,
    /* xUpdate     */ Update,
    /* xBegin      */ nullptr,
    /* xSync       */ nullptr,
    /* xCommit     */ nullptr,
    /* xRollback   */ nullptr,
    /* xFindMethod */ nullptr,
    /* xRename     */ nullptr,
    /* xSavepoint  */ nullptr,
    /* xRelease    */ nullptr,
    /* xRollbackTo */ nullptr,
    /* xShadowName */ nullptr,
};

void FreeResolver(void* p) { delete static_cast<Resolver*>(p); }

}  // namespace

std::string DeclareTable(const dbf::Table& table) {
  std::string sql = "CREATE TABLE x(";
  bool first = true;
  for (const dbf::Field& f : table.fields()) {
    if (!first) sql += ", ";
    first = false;
    sql += QuoteName(f.name);
    sql += ' ';
    sql += DeclaredType(f);
    if (IsTextField(f)) sql += std::string(" COLLATE \"") + kFoxCollation + "\"";
  }
  return sql + ")";
}

void RegisterDbfModule(sqlite3* db, std::function<BoundTable*(int id)> resolve) {
  sqlite3_create_module_v2(db, kDbfModule, &kModule, new Resolver(std::move(resolve)),
                           FreeResolver);
}

}  // namespace data::foxsql
