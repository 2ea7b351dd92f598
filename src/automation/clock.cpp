#include "automation/clock.h"

#include <chrono>
#include <cmath>
#include <cstring>
#include <ctime>

#include "automation/datetime.h"

namespace automation {
namespace {

struct ThreadClock {
  std::optional<Date> fixed_now;
  bool seed_fixed = false;
  uint32_t state = 0x50000;  // the generator's documented start value
};

thread_local ThreadClock tls;

// The local time now: the day and the seconds since midnight, with
// fractions (Now keeps whole seconds, Timer the fractions).
struct LocalNow {
  int64_t day;
  double seconds;
};

LocalNow SystemNow() {
  using namespace std::chrono;
  auto now = system_clock::now();
  std::time_t t = system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&t, &local);
  auto micros = duration_cast<microseconds>(now.time_since_epoch()).count() % 1000000;
  if (micros < 0) micros += 1000000;
  return {DaysFromCivil(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday),
          local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec + micros / 1e6};
}

// The 24-bit linear congruential step of the automation languages.
void Step() { tls.state = (tls.state * 0x43FD43FDu + 0xC39EC3u) & 0xFFFFFFu; }

float StateValue() { return static_cast<float>(tls.state) / 16777216.0f; }

// Randomize puts a 16-bit mix of a 32-bit word into the middle bytes of the
// state and keeps its outer bytes.
void MixIntoState(uint32_t word) {
  uint32_t mixed = (word ^ (word >> 16)) & 0xFFFFu;
  tls.state = (tls.state & 0xFFu) | (mixed << 8);
}

}  // namespace

Date Now() {
  if (tls.fixed_now) return *tls.fixed_now;
  LocalNow now = SystemNow();
  return JoinSerial(now.day, std::floor(now.seconds));
}

double Timer() {
  if (tls.fixed_now) return SplitSerial(*tls.fixed_now).second;
  return SystemNow().seconds;
}

void SetFixedNow(std::optional<Date> when) { tls.fixed_now = when; }

float Rnd() {
  Step();
  return StateValue();
}

float Rnd(float n) {
  if (n < 0) {
    // A negative argument makes the state from its single-precision bits,
    // so the same argument always starts the same sequence.
    uint32_t bits;
    std::memcpy(&bits, &n, sizeof bits);
    tls.state = (bits + (bits >> 24)) & 0xFFFFFFu;
  }
  if (n != 0) Step();
  return StateValue();  // Rnd(0) repeats the last number
}

void Randomize() {
  if (tls.seed_fixed) return;
  // The seed is the timer as a Single, as Randomize without a number takes it.
  float timer = static_cast<float>(Timer());
  uint32_t bits;
  std::memcpy(&bits, &timer, sizeof bits);
  MixIntoState(bits);
}

void Randomize(double seed) {
  // Randomize n mixes the upper half of n's double-precision bits.
  uint64_t bits;
  std::memcpy(&bits, &seed, sizeof bits);
  MixIntoState(static_cast<uint32_t>(bits >> 32));
}

void SetFixedSeed(std::optional<uint32_t> seed) {
  tls.seed_fixed = seed.has_value();
  if (seed) tls.state = *seed & 0xFFFFFFu;
}

ScopedClock::ScopedClock(std::optional<Date> now, std::optional<uint32_t> seed)
    : old_now_(tls.fixed_now), old_seed_fixed_(tls.seed_fixed), old_state_(tls.state) {
  SetFixedNow(now);
  SetFixedSeed(seed);
}

ScopedClock::~ScopedClock() {
  tls.fixed_now = old_now_;
  tls.seed_fixed = old_seed_fixed_;
  tls.state = old_state_;
}

}  // namespace automation
