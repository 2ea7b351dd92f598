// Query results kept for the next statement that asks the same: a page
// that lists a round runs the statements the previous visitor ran, on
// tables that rarely changed in between. Shared by every connection and
// worker of the process.
//
// A result is found by its key (the folder, the SQLite text and whatever
// else the rows depend on) and served only while every table it read still
// has the stamp (dbf::ChangeStamp) it was read at: the caller takes the
// tables' shared locks, as for running the statement, and hands in their
// current stamps. Memory is bounded by entries and bytes, the least
// recently used dropped first; a result larger than its own bound is not
// kept at all. The rows are shared, never copied.
//
// What may be kept at all (a query calling only pure functions, on tables
// whose stamps have settled) is the caller's decision (database.cpp).
//
// Thread-safe.
#pragma once

#include <cstddef>
#include <list>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "data/dbf/table.h"

namespace data::foxsql {

struct Rows;

class ResultCache {
 public:
  ResultCache(size_t max_entries, size_t max_bytes, size_t max_result_bytes);
  ResultCache(const ResultCache&) = delete;
  ResultCache& operator=(const ResultCache&) = delete;

  /// The process's cache, with the bounds of data/limits.h.
  static ResultCache& Shared();

  /// The rows kept under `key` when they were read at exactly `stamps`
  /// (one for each table, in the order they were kept with); nullptr
  /// otherwise. A result whose tables changed is dropped. `generation`:
  /// the folder's generation (folder_watch.h) read before the stamps were
  /// taken, or 0; a result found is then known current at it.
  std::shared_ptr<const Rows> Find(const std::string& key, std::span<const dbf::ChangeStamp> stamps,
                                   uint64_t generation = 0);

  /// The rows kept under `key` when they are known current at the folder's
  /// `generation` (not 0): nothing in the folder changed since, so neither
  /// the tables nor their stamps need to be looked at.
  std::shared_ptr<const Rows> FindAt(const std::string& key, uint64_t generation);

  /// Keeps `rows`, read at `stamps`, under `key` (replacing what was kept
  /// there) unless they take more than the bound for one result; drops
  /// the least recently used results beyond the bounds. `generation`: as
  /// for Find.
  void Keep(const std::string& key, std::vector<dbf::ChangeStamp> stamps, std::shared_ptr<const Rows> rows,
            uint64_t generation = 0);

  /// The memory a result takes as the bounds count it: values, texts and
  /// the vectors that hold them.
  static size_t SizeOf(const Rows& rows);

  size_t entries() const;
  size_t bytes() const;

 private:
  struct Entry {
    std::string key;
    std::vector<dbf::ChangeStamp> stamps;
    std::shared_ptr<const Rows> rows;
    size_t bytes = 0;
    uint64_t generation = 0;  // a folder generation it is known current at; 0: none
  };
  using Order = std::list<Entry>;  // the most recently used first

  void Drop(Order::iterator it);

  const size_t max_entries_, max_bytes_, max_result_bytes_;
  mutable std::mutex mutex_;
  Order order_;
  std::unordered_map<std::string_view, Order::iterator> by_key_;  // views of the entries' keys
  size_t bytes_ = 0;
};

}  // namespace data::foxsql
