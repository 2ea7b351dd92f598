#include <gtest/gtest.h>

#include <cmath>
#include <thread>

#include "automation/clock.h"
#include "test_util.h"

namespace automation {
namespace {

using testing_util::D;

constexpr float Drawn(uint32_t state) { return static_cast<float>(state) / 16777216.0f; }

TEST(Clock, AFreshThreadDrawsTheDocumentedSequence) {
  float first = 0, second = 0, repeated = 0;
  std::thread([&] {
    first = Rnd();
    second = Rnd();
    repeated = Rnd(0);
  }).join();
  EXPECT_EQ(first, Drawn(11837123));  // 0.7055475
  EXPECT_EQ(second, Drawn(8949370));  // 0.533424
  EXPECT_EQ(repeated, second);
  EXPECT_NEAR(first, 0.7055475, 1e-7);
  EXPECT_NEAR(second, 0.533424, 1e-6);
}

TEST(Clock, NegativeArgumentsReseedAndZeroRepeats) {
  ScopedClock clock(std::nullopt, 0x50000);
  EXPECT_EQ(Rnd(0), Drawn(0x50000));  // nothing drawn yet
  float a = Rnd(-1);
  EXPECT_EQ(a, Drawn(3758214));  // 0.224007
  EXPECT_EQ(Rnd(0), a);
  EXPECT_EQ(Rnd(0), a);
  EXPECT_EQ(Rnd(1), Drawn(601393));
  EXPECT_EQ(Rnd(-1), a);  // the same argument starts the same sequence
  EXPECT_NE(Rnd(-2), a);
}

TEST(Clock, RandomizeMixesTheSeedIntoTheState) {
  ScopedClock clock(std::nullopt, 0x50000);
  Randomize(5);  // 5.0 is 0x40140000'00000000: the state becomes 0x401400
  EXPECT_EQ(Rnd(0), Drawn(0x401400));
  EXPECT_EQ(Rnd(), Drawn(5464771));
  // The same seed from the same state gives the same numbers, another seed not.
  SetFixedSeed(0x123456);
  Randomize(7);
  float x = Rnd();
  SetFixedSeed(0x123456);
  Randomize(7);
  EXPECT_EQ(Rnd(), x);
  SetFixedSeed(0x123456);
  Randomize(8);
  EXPECT_NE(Rnd(), x);
}

TEST(Clock, AFixedSeedIgnoresRandomize) {
  float plain, randomized;
  {
    ScopedClock clock(std::nullopt, 42);
    Rnd();
    plain = Rnd();
  }
  {
    ScopedClock clock(std::nullopt, 42);
    Rnd();
    Randomize();
    randomized = Rnd();
  }
  EXPECT_EQ(plain, randomized);
}

TEST(Clock, RandomizeFromAFixedTimeIsRepeatable) {
  auto draw = [] {
    ScopedClock fixed_time(D(2024, 3, 5, 8, 30, 5), std::nullopt);
    SetFixedSeed(0x50000);
    SetFixedSeed(std::nullopt);  // timer seeding on, from a known state
    Randomize();
    return Rnd();
  };
  EXPECT_EQ(draw(), draw());
}

TEST(Clock, ScopedClockFixesAndRestoresNow) {
  const Date outer = D(2024, 3, 5, 8, 30, 5);
  const Date inner = D(2000, 1, 1);
  {
    ScopedClock a(outer, 1);
    EXPECT_EQ(Now(), outer);
    EXPECT_EQ(Timer(), 8 * 3600 + 30 * 60 + 5);
    {
      ScopedClock b(inner, 2);
      EXPECT_EQ(Now(), inner);
    }
    EXPECT_EQ(Now(), outer);
    EXPECT_EQ(Rnd(0), Drawn(1));
  }
  // The real clock: whole seconds, and a timer within the day.
  Date now = Now();
  double secs = (now.serial - std::floor(now.serial)) * 86400;
  EXPECT_NEAR(secs, std::round(secs), 1e-3);
  EXPECT_GT(now.serial, D(2020, 1, 1).serial);
  double t = Timer();
  EXPECT_GE(t, 0);
  EXPECT_LT(t, 86400);
}

}  // namespace
}  // namespace automation
