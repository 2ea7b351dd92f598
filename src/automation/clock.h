// The runtime's clock and random source: one of each per thread. By default
// the clock is the server's local time and the random source is seeded from
// it; tests and the command line's "now" and "seed" fix both.
#pragma once

#include <optional>

#include "automation/variant.h"

namespace automation {

/// Local date and time now, in whole seconds (or the fixed time of this
/// thread).
Date Now();
/// Seconds since local midnight, with fractions of a second (the Timer
/// function); the fixed time's seconds when the clock is fixed.
double Timer();

/// Fixes this thread's clock at `when`; nullopt returns to the real clock.
void SetFixedNow(std::optional<Date> when);

/// The next number in [0, 1) of the automation generator: a 24-bit linear
/// congruential state, state = (state * 0x43FD43FD + 0xC39EC3) mod 2^24,
/// drawn as state / 2^24. A thread starts at state 0x50000, so its first
/// Rnd() is 0.7055475 and the second 0.533424.
float Rnd();
/// Rnd(n): n < 0 sets the state from n's single-precision bits and draws
/// (Rnd(-1) is 0.224007); n = 0 repeats the last number without drawing;
/// n > 0 draws as Rnd() does.
float Rnd(float n);
/// Reseeds from the timer, unless this thread's seed is fixed, in which case
/// the fixed sequence simply goes on (so that fixed runs stay repeatable).
/// Reseeding replaces the upper 16 of the state's 24 bits by a mix of the
/// seed's bits and keeps its low byte.
void Randomize();
/// Reseeds from a number, as Randomize n does (mixing the upper half of its
/// double-precision bits).
void Randomize(double seed);

/// Fixes this thread's random sequence: the state becomes seed mod 2^24 and
/// Randomize() stops reseeding from the timer; nullopt returns to timer
/// seeding.
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
