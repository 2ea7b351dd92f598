#include "automation/deadline.h"

#include "automation/error.h"

namespace automation {
namespace {
thread_local DeadlineClock::time_point deadline = DeadlineClock::time_point::max();
}  // namespace

ScopedDeadline::ScopedDeadline(DeadlineClock::time_point when) : before_(deadline) { deadline = when; }

ScopedDeadline::~ScopedDeadline() { deadline = before_; }

void ExtendDeadline(DeadlineClock::duration by) {
  if (deadline != DeadlineClock::time_point::max() && by > DeadlineClock::duration::zero()) deadline += by;
}

bool DeadlinePassed() {
  return deadline != DeadlineClock::time_point::max() && DeadlineClock::now() >= deadline;
}

void CheckDeadline() {
  if (DeadlinePassed()) throw Error(err::kTimedOut);
}

}  // namespace automation
