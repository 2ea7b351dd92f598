#include "arenix/upload/body_buffer.h"

#include <sys/mman.h>

#include <cstdlib>
#include <cstring>
#include <new>

namespace arenix::upload {

namespace {
// Below this a plain allocation is as cheap.
constexpr size_t kMapFrom = 2u << 20;
// The buffer this thread kept from its last request, if any.
thread_local std::unique_ptr<Body> kept;
}  // namespace

std::shared_ptr<Body> Body::Make(size_t capacity) {
  std::unique_ptr<Body> body;
  if (kept && kept->capacity_ >= capacity) {
    body = std::move(kept);
    body->size_ = 0;
  } else {
    body = std::make_unique<Body>(capacity);
  }
  return std::shared_ptr<Body>(body.release(), [](Body* b) {
    if (b->capacity_ >= kMapFrom && b->capacity_ <= kKeptBodyBytes &&
        (!kept || kept->capacity_ < b->capacity_))
      kept.reset(b);
    else
      delete b;
  });
}

Body::Body(size_t capacity) : capacity_(capacity) {
  if (capacity >= kMapFrom) {
    void* p = ::mmap(nullptr, capacity, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p != MAP_FAILED) {
      ::madvise(p, capacity, MADV_HUGEPAGE);
      data_ = static_cast<uint8_t*>(p);
      mapped_ = true;
      return;
    }
  }
  data_ = static_cast<uint8_t*>(std::malloc(capacity ? capacity : 1));
  if (!data_) throw std::bad_alloc();
}

Body::~Body() {
  if (mapped_)
    ::munmap(data_, capacity_);
  else
    std::free(data_);
}

void Body::Append(const uint8_t* bytes, size_t count) {
  size_t take = count < capacity_ - size_ ? count : capacity_ - size_;
  if (take) std::memcpy(data_ + size_, bytes, take);
  size_ += take;
}

}  // namespace arenix::upload
