// In-memory indexes of one free table, shared by every connection of the
// process and kept after they close (a page opens its own connection): for
// a column, the rows holding each value. They serve the
// equality filters of the statements (the entry filter compares event, age
// group and sex of every row it touches), so that a statement reads the few
// records it needs instead of the whole table.
//
// An index describes one version of the table (dbf::ChangeStamp). Writes
// made through this engine keep it current record by record; any other
// change (another program, another process) is seen in the stamp and the
// indexes are built again on their next use. Indexes are built lazily, one
// per column and kind of key. The rows an index gives are candidates: SQLite
// checks each against the statement's conditions, so a change the stamp
// cannot see (another program's write within the file system's clock tick)
// never makes a statement touch a row it does not match.
//
// Thread-safe. REQUIRES for every call: the caller holds the table's file
// lock (shared to read, exclusive to write), so that the table cannot
// change between the stamp check and the use.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "data/dbf/table.h"

namespace data::foxsql {

/// How a column's values are turned into keys.
enum class KeyKind : uint8_t {
  kRTrim,    // text without trailing blanks: equality under the fox collation
  kAllTrim,  // text without leading and trailing blanks: fox_alltrim
  kNumber,   // numbers, logicals, dates, currency: the value as a double
};

/// The key of a UTF-8 text or of a number, as the index stores it.
std::string TextKey(std::string_view utf8, KeyKind kind);
std::string NumberKey(double value);

/// True when the field's values can be indexed with that kind of key.
bool CanIndex(const dbf::Field& field, KeyKind kind);

/// A C field holding code page 936 text: its bytes can be read directly.
bool IsPlainCharacter(const dbf::Table& table, int field);

struct KeyLookup {
  int column;
  KeyKind kind;
  std::string key;
};

class TableIndexes {
 public:
  /// The indexes of the file with this identity (from its stamp).
  static std::shared_ptr<TableIndexes> For(const dbf::ChangeStamp& file);

  /// The live rows matching every lookup, in ascending order.
  std::vector<uint32_t> Find(const dbf::Table& table, std::span<const KeyLookup> lookups);

  /// Keeps the indexes right across one write of one record: construct it
  /// before the write (row -1 for an append) naming the fields that change
  /// (every field for an append or a deletion), call Done after it. A write
  /// that fails or is abandoned drops the indexes.
  /// REQUIRES: the caller holds the table's exclusive lock.
  class RecordWrite {
   public:
    RecordWrite(TableIndexes& indexes, const dbf::Table& table, int64_t row,
                std::span<const int> fields);
    ~RecordWrite();
    void Done(const dbf::Table& table, uint32_t row, bool deleted);

   private:
    TableIndexes& indexes_;
    std::vector<int> fields_;
    bool current_ = false;
    bool done_ = false;
  };

 private:
  using Index = std::unordered_map<std::string, std::vector<uint32_t>>;

  // REQUIRES: mutex_ is held.
  void Sync(const dbf::Table& table);
  Index& Get(const dbf::Table& table, int column, KeyKind kind);
  bool Key(const dbf::Table& table, uint32_t row, int column, KeyKind kind, std::string* key) const;

  std::mutex mutex_;
  dbf::ChangeStamp stamp_;
  std::map<std::pair<int, KeyKind>, Index> indexes_;
};

}  // namespace data::foxsql
