// The time limit of the work a thread is doing for its caller: a page run
// sets it, and native work that may run long whatever the page asked (the
// database engine's statements, loops over record sets) checks it, so that
// a worker is free again within the page's limit even while the page is
// inside the component. Without a deadline set, nothing ever stops.
//
//   automation::ScopedDeadline limit(steady_clock::now() + 5s);
//   ... while (more) { automation::CheckDeadline(); ... }
#pragma once

#include <chrono>

namespace automation {

using DeadlineClock = std::chrono::steady_clock;

/// Sets this thread's deadline until destroyed (then the one before it
/// holds again).
class ScopedDeadline {
 public:
  explicit ScopedDeadline(DeadlineClock::time_point when);
  ~ScopedDeadline();
  ScopedDeadline(const ScopedDeadline&) = delete;
  ScopedDeadline& operator=(const ScopedDeadline&) = delete;

 private:
  DeadlineClock::time_point before_;
};

/// Moves this thread's deadline (when one is set) later by `by`: time spent
/// waiting for another writer of the meet is not the page's own work.
void ExtendDeadline(DeadlineClock::duration by);

/// True once this thread's deadline has passed.
bool DeadlinePassed();

/// Raises kTimedOut when this thread's deadline has passed.
void CheckDeadline();

}  // namespace automation
