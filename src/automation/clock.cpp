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
  float last = 0;
};

thread_local ThreadClock tls;

Date SystemNow() {
  using namespace std::chrono;
  auto now = system_clock::now();
  std::time_t t = system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&t, &local);
  int64_t days = DaysFromCivil(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
  double secs = local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
  return Date{days + secs / 86400.0};
}

float Draw() {
  tls.state = (tls.state * 0x43FD43FDu + 0xC39EC3u) & 0xFFFFFFu;
  tls.last = static_cast<float>(tls.state) / 16777216.0f;
  return tls.last;
}

// Randomize's mixing of a seed into the generator state: the middle bytes of
// the seed's single-precision bits, XORed, go into the state's middle bytes.
void Seed(double seed) {
  float f = static_cast<float>(seed);
  uint32_t bits;
  std::memcpy(&bits, &f, sizeof bits);
  uint32_t mixed = ((bits >> 16) ^ bits) & 0xFFFF;
  tls.state = (tls.state & 0xFF0000FFu) | (mixed << 8);
  tls.state &= 0xFFFFFFu;
}

}  // namespace

Date Now() { return tls.fixed_now ? *tls.fixed_now : SystemNow(); }

double Timer() {
  Date d = Now();
  double frac = d.serial - std::floor(d.serial);
  return std::round(frac * 86400.0 * 100.0) / 100.0;
}

void SetFixedNow(std::optional<Date> when) { tls.fixed_now = when; }

float Rnd() { return Draw(); }

float Rnd(float n) {
  if (n == 0) return tls.last;
  if (n < 0) {
    uint32_t bits;
    std::memcpy(&bits, &n, sizeof bits);
    tls.state = (bits + (bits >> 24)) & 0xFFFFFFu;
  }
  return Draw();
}

void Randomize() {
  if (tls.seed_fixed) return;
  using namespace std::chrono;
  double seed = static_cast<double>(
                    duration_cast<microseconds>(system_clock::now().time_since_epoch()).count() %
                    86400000000LL) /
                1e6;
  Seed(seed);
}

void Randomize(double seed) { Seed(seed); }

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
