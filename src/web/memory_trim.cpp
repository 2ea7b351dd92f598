#include "web/memory_trim.h"

#include <malloc.h>

namespace web {

void KeepFreedMemory(size_t trim_threshold, size_t mmap_threshold) {
  // Setting either turns the allocator's adaptive thresholds off, so both
  // are set together.
  if (trim_threshold == 0 || mmap_threshold == 0) return;
  ::mallopt(M_MMAP_THRESHOLD, static_cast<int>(mmap_threshold));
  ::mallopt(M_TRIM_THRESHOLD, static_cast<int>(trim_threshold));
}

void MemoryTrim::Start() {
  std::lock_guard lock(mu_);
  if (interval_.count() <= 0 || thread_.joinable()) return;
  stopping_ = false;
  thread_ = std::thread([this] { Main(); });
}

void MemoryTrim::Stop() {
  // The server stops from its own thread and from whoever asked it to, at
  // once: the thread is joined by the one that takes it.
  std::thread running;
  {
    std::lock_guard lock(mu_);
    stopping_ = true;
    running = std::move(thread_);
  }
  cv_.notify_all();
  if (running.joinable()) running.join();
}

size_t MemoryTrim::trims() const {
  std::lock_guard lock(mu_);
  return trims_;
}

void MemoryTrim::Main() {
  std::unique_lock lock(mu_);
  while (!cv_.wait_for(lock, interval_, [this] { return stopping_; })) {
    lock.unlock();
    ::malloc_trim(0);
    lock.lock();
    ++trims_;
  }
}

}  // namespace web
