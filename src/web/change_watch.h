// Tells, in one system call, whether anything changed in the folders a
// kept reply was made from (the site's pages and the meet's data files),
// by anyone on this machine: a save by another worker, another process or
// an organiser editing a page. The kernel queues a change before the write
// that made it returns, so a reader that drains the queue sees every change
// completed before it looked.
//
// Changes that can be missed make it unusable, and its callers fall back to
// comparing the files themselves: a folder on a network share (another
// machine's writes raise no event here), a lost watch (a folder moved, or
// one it was made with deleted), an overflowing queue (counted as a change, then fine again),
// more folders than the limit, or no watches left.
//
// Names beginning with a dot (the meet's write lock) are not changes.
//
// Thread-safe.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace web {

class ChangeWatch {
 public:
  /// Watches each folder and its subfolders, at most `max_folders` in all.
  ChangeWatch(const std::vector<std::string>& folders, size_t max_folders);
  ~ChangeWatch();
  ChangeWatch(const ChangeWatch&) = delete;
  ChangeWatch& operator=(const ChangeWatch&) = delete;

  /// Every change is seen (else the files must be compared).
  bool usable() const { return usable_.load(std::memory_order_acquire); }

  /// Grows with every change seen so far (taking in what is queued).
  uint64_t Generation();

 private:
  bool Add(const std::string& folder, size_t depth);
  void Drain();

  int fd_ = -1;
  size_t max_folders_;
  std::atomic<bool> usable_{false};
  std::mutex mu_;
  uint64_t generation_ = 1;  // never 0, which callers take for "not watched"
  std::map<int, std::string> folders_;  // watch descriptor -> folder
  std::set<int> roots_;                 // the folders it was made with
};

}  // namespace web
