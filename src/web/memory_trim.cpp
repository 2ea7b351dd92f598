#include "web/memory_trim.h"

#include <malloc.h>

namespace web {

void MemoryTrim::Start() {
  std::lock_guard lock(mu_);
  if (interval_.count() <= 0 || thread_.joinable()) return;
  stopping_ = false;
  thread_ = std::thread([this] { Main(); });
}

void MemoryTrim::Stop() {
  {
    std::lock_guard lock(mu_);
    stopping_ = true;
  }
  cv_.notify_all();
  if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
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
