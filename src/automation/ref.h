// Ref<T>: an optional by-reference parameter. It either binds the caller's
// variable or, when the caller leaves the argument out, owns a temporary
// holding the declared default, so that C++ callers get defaults as late-bound
// callers do.
#pragma once

#include <optional>

namespace automation {

template <class T>
class Ref {
 public:
  /// Binds the caller's variable.
  Ref(T& target) : p_(&target) {}
  /// Owns a temporary with this value (the default, or a literal argument).
  explicit Ref(T&& initial) : own_(std::move(initial)), p_(&*own_) {}

  // A Ref lives as one parameter: never copied, never moved.
  Ref(const Ref&) = delete;
  Ref& operator=(const Ref&) = delete;

  T& operator*() const { return *p_; }
  T* operator->() const { return p_; }
  T& get() const { return *p_; }

 private:
  std::optional<T> own_;
  T* p_;
};

}  // namespace automation
