// The request body an upload parser keeps and its items read: one buffer of
// the announced size, filled as the host delivers the body. A large body
// lives in memory mapped with transparent huge pages asked for, which makes
// filling it several times cheaper than page-by-page faults, and when the
// last holder lets go the buffer stays with its thread for the next request
// (up to kKeptBodyBytes), as the body buffer was once per request thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace arenix::upload {

/// The largest buffer a thread keeps for its next request.
inline constexpr size_t kKeptBodyBytes = 64u << 20;

class Body {
 public:
  /// An empty body with room for `capacity` bytes, reusing the buffer this
  /// thread kept when it is large enough.
  static std::shared_ptr<Body> Make(size_t capacity);

  /// Room for `capacity` bytes (the request's TotalBytes).
  explicit Body(size_t capacity);
  ~Body();
  Body(const Body&) = delete;
  Body& operator=(const Body&) = delete;

  /// Appends up to the capacity; what lies beyond it is dropped.
  void Append(const uint8_t* bytes, size_t count);
  const uint8_t* data() const { return data_; }
  size_t size() const { return size_; }
  std::string_view view() const { return {reinterpret_cast<const char*>(data_), size_}; }

 private:
  uint8_t* data_ = nullptr;
  size_t size_ = 0;
  size_t capacity_ = 0;
  bool mapped_ = false;
};

}  // namespace arenix::upload
