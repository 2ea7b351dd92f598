// Table: one Visual FoxPro free table (.dbf with its .fpt memo file), read
// and written in place so that the rest of the meet system, which keeps
// using the same files, sees every change.
//
// Values are automation variants:
//   C  Text padded to the width as stored     N, F  Double (blank: 0)
//   L  Boolean                                D, T  Date; an empty date is
//   I  Long        B  Double                        the serial 0 (1899-12-30,
//   Y  Currency    M  Text (binary memo: Bytes)     shown "0:00:00"), as the
//   G, W, P, Q  Bytes    V  Text (its length)       platform's provider gave it
//   and Null wherever the row's null flag says so.
// Texts are code page 936 on disk.
//
// Writes: a record is written with one write; an append writes the record
// and then the header's count and date. Every writing call holds an
// exclusive file lock (fcntl, per open file) for its duration; a caller that
// runs a statement takes the lock once for the whole statement with
// TableLock, and readers take a shared one. A table with a structural index
// (.cdx) is read normally but refuses writes unless the caller keeps the
// index up to date (set_index_kept).
//
// Errors are automation::Error exceptions whose description names the file.
//
// Not thread-safe: one Table belongs to one connection (one thread). Two
// Tables on the same file, in one process or in several, exclude each other
// through the file lock.
//
//   auto play = Table::Open("/site/data/Play.dbf", Access::kRead);
//   TableLock lock(*play, LockKind::kShared);
//   int name = play->FieldIndex(u"运动员");
//   for (uint32_t r = 0; r < play->RecordCount(); ++r)
//     if (!play->IsDeleted(r)) use(play->Value(r, name));
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "automation/variant.h"
#include "data/dbf/schema.h"

namespace data::dbf {

using automation::Variant;

enum class Access { kRead, kWrite };
enum class LockKind { kShared, kExclusive };

/// One version of a table's contents. Two stamps compare equal only when
/// nothing was written in between through this layer in this process, and
/// the files' sizes, modification times and header counts are unchanged
/// (so writes by other programs are seen too, to the file system's clock
/// resolution). An engine may keep what it derived from a table (an index)
/// while the stamp stays the same.
struct ChangeStamp {
  uint64_t device = 0, inode = 0;
  int64_t size = 0, mtime_ns = 0, ctime_ns = 0;
  int64_t memo_size = 0, memo_mtime_ns = 0;
  uint32_t record_count = 0;
  uint64_t local_writes = 0;
  friend bool operator==(const ChangeStamp&, const ChangeStamp&) = default;
};

/// A new value for one field of a record.
struct FieldValue {
  int field = 0;  // index into Table::fields()
  Variant value;
};

/// Options for Table::Create.
struct CreateOptions {
  bool overwrite = false;  // replace existing files instead of refusing
  uint8_t code_page_mark = 0x7A;
  uint16_t memo_block_size = 64;
};

class Table {
 public:
  /// Opens the table at `path` (a native path) and its memo file when the
  /// table has memo fields. Raises 53 when the file is missing, 75 when it is
  /// not a readable table (truncated, bad header or descriptors, missing
  /// memo file).
  static std::unique_ptr<Table> Open(const std::string& path, Access access);

  /// Reads a table held in memory (read-only): for tests and the fuzzer.
  static std::unique_ptr<Table> FromBytes(std::string name, std::string dbf,
                                          std::string fpt = {});

  /// Creates a new empty table (and its memo file when a field needs one)
  /// with the given fields and opens it for writing. Nullable fields get the
  /// _NullFlags field. Raises 58 when the files exist (unless overwrite),
  /// 5 for an invalid field list (names, widths, duplicates).
  static std::unique_ptr<Table> Create(const std::string& path, std::span<const FieldSpec> fields,
                                       const CreateOptions& options = {});

  ~Table();
  Table(const Table&) = delete;
  Table& operator=(const Table&) = delete;

  /// The path given to Open (or the name given to FromBytes).
  const std::string& path() const;
  /// The file name for messages ("Play.dbf").
  const std::string& file_name() const;
  const Schema& schema() const;
  /// The visible fields in order (the hidden _NullFlags is not one of them).
  const std::vector<Field>& fields() const;
  /// Index of a field by name (ASCII letters compare without case), or -1.
  int FieldIndex(TextView name) const;
  /// The number of records, deleted ones included, as of the last lock or
  /// refresh (and this Table's own appends).
  uint32_t RecordCount() const;
  bool writable() const;
  /// True when the table has a structural index (.cdx): writes are refused
  /// unless the caller keeps the index up to date.
  bool HasStructuralIndex() const;
  /// The path of the table's .cdx (its name when there is none).
  const std::string& StructuralIndexPath() const;
  /// The caller rebuilds the structural index after its writes: they are
  /// no longer refused for it.
  void set_index_kept(bool kept);

  // --- Reading. `row` counts from 0; a row at or beyond RecordCount()
  // raises 9. Only the asked field is decoded.

  bool IsDeleted(uint32_t row) const;
  bool IsNull(uint32_t row, int field) const;
  Variant Value(uint32_t row, int field) const;
  /// The same into `out`, reusing the storage of a text it holds (for scans).
  void ReadValue(uint32_t row, int field, Variant& out) const;
  /// All visible fields of a record into `values` (resized to fields()).
  void ReadRecord(uint32_t row, std::vector<Variant>& values) const;
  /// The field's bytes as stored (no null or length handling).
  std::string_view RawField(uint32_t row, int field) const;

  // --- Writing (Access::kWrite; each call takes the exclusive lock for
  // itself when the caller holds none).

  /// Appends a record: `values` in field order, missing or Empty ones blank
  /// (blank text, 0, .F., empty date; never Null), autoincrement fields
  /// numbered. Returns the new row. Raises 6 for a number too wide for its
  /// field, 94 for Null in a field that takes none, 13 for a value of the
  /// wrong kind. Texts longer than their field are cut to its width.
  uint32_t Append(std::span<const Variant> values);
  uint32_t Append(std::initializer_list<Variant> values) {
    return Append(std::span<const Variant>(values.begin(), values.size()));
  }
  /// Changes some fields of a record with one write of the record.
  void Update(uint32_t row, std::span<const FieldValue> changes);
  /// Sets or clears the deletion flag of a record.
  void SetDeleted(uint32_t row, bool deleted);

  // --- Locks and versions.

  /// Takes the file lock; nests (an exclusive lock inside a shared one
  /// upgrades it until released). The outermost lock reloads the header so
  /// that the table sees other writers' records. Raises 70 naming the table
  /// when another process holds the lock for too long.
  void Lock(LockKind kind);
  void Unlock();
  /// Reloads the header and the mapping of the files (the record count,
  /// and the whole structure if another program changed it).
  void Refresh();
  /// The stamp of the contents as of the last lock, refresh or own write.
  ChangeStamp Stamp() const;

  class Impl;

 private:
  // Open, optionally without the shared lock around reading the header
  // (for a caller that already holds the table exclusively).
  static std::unique_ptr<Table> OpenFile(const std::string& path, Access access, bool lock_header);
  explicit Table(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

/// Counts a change made to a file outside the tables' own writes (an undo
/// journal restoring it), so that every Table's stamp of it changes.
void CountOutsideWrite(uint64_t device, uint64_t inode);

/// Holds a table's lock for a scope (one statement).
class TableLock {
 public:
  TableLock(Table& table, LockKind kind) : table_(table) { table_.Lock(kind); }
  ~TableLock() { table_.Unlock(); }
  TableLock(const TableLock&) = delete;
  TableLock& operator=(const TableLock&) = delete;

 private:
  Table& table_;
};

}  // namespace data::dbf
