// The runtime's clock and random source: one of each per thread. By default
// the clock is the server's local time and the random source is seeded from
// it; tests and the command line's "now" and "seed" fix both.
#pragma once

#include <optional>

#include "automation/variant.h"

namespace automation {

/// Local date and time now (or the fixed time of this thread).
Date Now();
/// Seconds since midnight, with fractions (the Timer function).
double Timer();

/// Fixes this thread's clock at `when`; nullopt returns to the real clock.
void SetFixedNow(std::optional<Date> when);

/// The next number in [0, 1) of the automation generator (24-bit linear
/// congruential, as Rnd() draws).
float Rnd();
/// Rnd(n): n < 0 reseeds from n and draws; n = 0 repeats the last number.
float Rnd(float n);
/// Reseeds from the clock, unless this thread's seed is fixed, in which case
/// the fixed sequence simply goes on (so that fixed runs stay repeatable).
void Randomize();
/// Reseeds from a number, as Randomize n does.
void Randomize(double seed);

/// Fixes this thread's random sequence (and turns clock seeding off);
/// nullopt returns to clock seeding.
void SetFixedSeed(std::optional<uint32_t> seed);

/// Restores the fixed clock and seed of a scope when it ends; for tests.
class ScopedClock {
 public:
  ScopedClock(std::optional<Date> now, std::optional<uint32_t> seed);
  ~ScopedClock();

 private:
  std::optional<Date> old_now_;
  bool old_seed_fixed_;
  uint32_t old_state_;
};

}  // namespace automation
