// The text columns of a table decoded once (code page 936 to the UTF-8 the
// statements compare), shared by every connection of the process while the
// file is unchanged: a page that lists a round reads the same records over
// and over, and decoding them again was a good part of its statements.
//
// A snapshot holds one version of the table (dbf::ChangeStamp): a write
// through this engine, by another process or by another program changes
// the stamp, and the next statement takes a new, empty snapshot. A file
// whose times are very recent is not kept at all, since another write in
// the same tick of the file system's clock would not change its stamp. Columns
// are decoded whole, on their first use in a snapshot. Memory is bounded
// (data/limits.h): a few tables, the least recently used dropped, and a
// table too large to keep is decoded record by record as before.
//
// Thread-safe. REQUIRES for Snapshot: the caller holds the table's file
// lock, so that the table cannot change between the stamp and the reading.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "data/dbf/table.h"

namespace data::foxsql {

class DecodedTexts {
 public:
  /// The decoded columns of the table's current version; nullptr while the
  /// file changed too recently to be trusted to its stamp.
  static std::shared_ptr<DecodedTexts> Snapshot(const dbf::Table& table);

  /// The column (a plain character field) decoded for every record, or
  /// nullptr when it is not kept (the table is too large): the caller then
  /// decodes the record's field itself. Null fields read as empty texts
  /// here; the caller checks the null flag first.
  const std::vector<std::string>* Column(const dbf::Table& table, int column);

  explicit DecodedTexts(const dbf::ChangeStamp& stamp) : stamp_(stamp) {}
  const dbf::ChangeStamp& stamp() const { return stamp_; }

 private:
  const dbf::ChangeStamp stamp_;
  std::mutex mutex_;
  std::vector<std::unique_ptr<const std::vector<std::string>>> columns_;
  size_t bytes_ = 0;
  bool too_large_ = false;
};

}  // namespace data::foxsql
