// Gives the allocator's free memory back to the system now and then.
//
// Every worker thread allocates from one of the allocator's arenas, and a
// page's temporary buffers (its output, decoded rows, the script heap's
// garbage) leave free holes in them that the allocator keeps for reuse but
// never returns: with many workers the server's resident size climbs far
// past what it uses. A trimmer thread hands those free pages back at a
// fixed interval, so that the resident size follows what is in use.
//
//   MemoryTrim trim(std::chrono::seconds(5));   // 0: never
//   trim.Start(); ... trim.Stop();
//
// Between trims the allocator keeps what a page freed for the next one
// (KeepFreedMemory), which saves the page faults of getting it back.
//
// Thread-safe: Start and Stop may be called from different threads.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace web {

/// Sets how much freed memory the allocator keeps between trims (the top
/// of an arena past which it gives memory back at once) and the size from
/// which a block gets its own mapping; 0 leaves the allocator's adaptive
/// choice. For the whole process.
void KeepFreedMemory(size_t trim_threshold, size_t mmap_threshold);

class MemoryTrim {
 public:
  explicit MemoryTrim(std::chrono::milliseconds interval) : interval_(interval) {}
  ~MemoryTrim() { Stop(); }
  MemoryTrim(const MemoryTrim&) = delete;
  MemoryTrim& operator=(const MemoryTrim&) = delete;

  void Start();
  void Stop();
  /// Trims done so far (each one a pass over every arena).
  size_t trims() const;

 private:
  void Main();

  const std::chrono::milliseconds interval_;
  mutable std::mutex mu_;
  std::condition_variable cv_;
  bool stopping_ = false;
  size_t trims_ = 0;
  std::thread thread_;
};

}  // namespace web
