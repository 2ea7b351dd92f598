#include "data/foxsql/result_cache.h"

#include <algorithm>

#include "data/foxsql/database.h"
#include "data/limits.h"

namespace data::foxsql {

ResultCache::ResultCache(size_t max_entries, size_t max_bytes, size_t max_result_bytes)
    : max_entries_(max_entries), max_bytes_(max_bytes), max_result_bytes_(std::min(max_result_bytes, max_bytes)) {}

ResultCache& ResultCache::Shared() {
  static ResultCache cache(limits::kResultsKept, limits::kResultBytesKept, limits::kResultBytesEach);
  return cache;
}

std::shared_ptr<const Rows> ResultCache::Find(const std::string& key, std::span<const dbf::ChangeStamp> stamps,
                                              uint64_t generation) {
  std::lock_guard<std::mutex> hold(mutex_);
  auto found = by_key_.find(key);
  if (found == by_key_.end()) return nullptr;
  Order::iterator it = found->second;
  if (!std::equal(stamps.begin(), stamps.end(), it->stamps.begin(), it->stamps.end())) {
    // A table changed since: this result is never served again.
    Drop(it);
    return nullptr;
  }
  // Current at the stamps' moment, which came after `generation` was read.
  it->generation = std::max(it->generation, generation);
  order_.splice(order_.begin(), order_, it);
  return it->rows;
}

std::shared_ptr<const Rows> ResultCache::FindAt(const std::string& key, uint64_t generation) {
  if (generation == 0) return nullptr;
  std::lock_guard<std::mutex> hold(mutex_);
  auto found = by_key_.find(key);
  if (found == by_key_.end() || found->second->generation != generation) return nullptr;
  order_.splice(order_.begin(), order_, found->second);
  return found->second->rows;
}

void ResultCache::Keep(const std::string& key, std::vector<dbf::ChangeStamp> stamps,
                       std::shared_ptr<const Rows> rows, uint64_t generation) {
  if (!rows || max_entries_ == 0) return;
  const size_t bytes = SizeOf(*rows) + key.capacity() + stamps.capacity() * sizeof(dbf::ChangeStamp);
  std::lock_guard<std::mutex> hold(mutex_);
  if (auto found = by_key_.find(key); found != by_key_.end()) Drop(found->second);
  if (bytes > max_result_bytes_) return;
  order_.push_front(Entry{key, std::move(stamps), std::move(rows), bytes, generation});
  by_key_.emplace(order_.front().key, order_.begin());
  bytes_ += bytes;
  while (order_.size() > max_entries_ || bytes_ > max_bytes_) Drop(std::prev(order_.end()));
}

void ResultCache::Drop(Order::iterator it) {
  by_key_.erase(it->key);
  bytes_ -= it->bytes;
  order_.erase(it);
}

size_t ResultCache::SizeOf(const Rows& rows) {
  auto text_bytes = [](const Text& t) {
    // Short texts live inside the value itself.
    return t.capacity() > Text().capacity() ? (t.capacity() + 1) * sizeof(char16_t) : 0;
  };
  size_t bytes = sizeof(Rows) + rows.names.capacity() * sizeof(Text);
  for (const Text& name : rows.names) bytes += text_bytes(name);
  bytes += rows.rows.capacity() * sizeof(std::vector<Variant>);
  for (const auto& row : rows.rows) {
    bytes += row.capacity() * sizeof(Variant);
    for (const Variant& v : row) {
      if (v.IsString()) bytes += text_bytes(v.text());
      if (v.IsBytes()) bytes += v.bytes().capacity();
    }
  }
  return bytes;
}

size_t ResultCache::entries() const {
  std::lock_guard<std::mutex> hold(mutex_);
  return order_.size();
}

size_t ResultCache::bytes() const {
  std::lock_guard<std::mutex> hold(mutex_);
  return bytes_;
}

}  // namespace data::foxsql
