// The scoring parameters of combined events, as data: the track-and-field
// tables (name|group|A|B|C, one per sex) and the swimming tables (event|pool|
// base time|9 spaces|divisor, one per sex and pool). Rows are kept in the
// order the lookups search them, with the numbers written exactly as the
// public parameter method returns them.
#pragma once

#include <span>

namespace arenix::meet {

/// Track and field, men and women: "100米|径赛项目|25.4347|17.76|1.81". The
/// "(电计)" rows are fully automatic timing; the plain rows hand timing.
std::span<const char16_t* const> MenFieldTable();
std::span<const char16_t* const> WomenFieldTable();

/// One swimming row before its base time is written as a stored result:
/// the base time as minutes:seconds.hundredths (empty: no base time) and
/// the seconds that cost one point (0: the event is not held in that pool).
struct SwimRow {
  const char16_t* event;
  const char16_t* base;
  const char16_t* divisor;
};

/// The swimming rows of one sex and pool (50 m pool when `long_pool`).
std::span<const SwimRow> SwimTable(bool men, bool long_pool);

}  // namespace arenix::meet
