// The record set registered as "Adodb.RecordSet": a static keyset over a
// query's rows, all read when it opens. RecordCount is exact; PageSize
// (10 by default), PageCount and AbsolutePage work as the platform's did;
// reading a field at EOF or BOF raises 3021. It never writes: statements
// that change data go through the connection's Execute.
//
// Not thread-safe: one record set belongs to one page.
#pragma once

#include <unordered_map>

#include "data/data.h"
#include "data/foxsql/database.h"

namespace data {

class StaticRecordset : public Recordset {
 public:
  /// Runs `sql` on `connection` (a variant holding a connection, or a
  /// connection text to open one for this query). Any cursor and lock type
  /// give the static, read-only keyset. A statement that returns no rows
  /// (a write) runs and leaves the record set closed, as the platform did.
  void Open(TextView sql, const Variant& connection, int cursor_type, int lock_type) override;
  /// Opens on rows already read.
  void Load(foxsql::Rows rows);
  /// Opens on rows already read and shared with others (never changed).
  void Load(std::shared_ptr<const foxsql::Rows> rows);
  void Close() override;
  bool IsOpen() const override { return open_; }

  bool Eof() const override;
  bool Bof() const override;
  void MoveNext() override;
  void MoveFirst() override;
  void MovePrevious();
  void MoveLast();

  Variant Field(TextView name) const override;
  Variant FieldAt(int index) const override;
  int FieldCount() const override;
  Text FieldName(int index) const override;

  int32_t RecordCount() const override;
  int32_t PageSize() const override;
  void SetPageSize(int32_t rows) override;
  int32_t PageCount() const override;
  void SetAbsolutePage(int32_t page) override;
  /// The current page; -1 for an empty set, -2 at BOF, -3 at EOF.
  int32_t AbsolutePage() const override;

  /// Open, Close, EOF, BOF, MoveNext, MoveFirst, MovePrevious, MoveLast,
  /// RecordCount, PageSize, PageCount, AbsolutePage, State, Fields and the
  /// default item (a field's value by name or position).
  Variant Invoke(TextView name, automation::InvokeKind kind,
                 std::span<Variant* const> args) override;
  const automation::MemberTable* Members() const override;

  /// A field's value by name (text) or position (number).
  Variant Item(const Variant& key) const;

 private:
  void RequireOpen() const;
  const std::vector<Variant>& Current() const;

  const std::vector<std::vector<Variant>>& rows() const { return set_->rows; }

  bool open_ = false;
  std::shared_ptr<const foxsql::Rows> set_ = foxsql::NoRows();
  int64_t position_ = 0;  // -1: BOF; rows().size(): EOF
  int32_t page_size_ = 10;
  // The column of each name a page asked for, as it spelled it: a page
  // reads the same few fields on every row.
  struct NameHash {
    using is_transparent = void;
    size_t operator()(TextView name) const { return std::hash<TextView>()(name); }
  };
  mutable std::unordered_map<Text, size_t, NameHash, std::equal_to<>> columns_;
};

}  // namespace data
