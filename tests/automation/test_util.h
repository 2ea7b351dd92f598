// Helpers shared by the automation tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <string>

#include "automation/datetime.h"
#include "automation/error.h"
#include "automation/text.h"

namespace automation {

// Readable failure output for Text values.
inline void PrintTo(const Text& t, std::ostream* os) { *os << '"' << ToUtf8(t) << '"'; }

namespace testing_util {

inline Date D(int y, int m, int d, int h = 0, int n = 0, int s = 0) {
  return MakeDate(y, m, d, h, n, s);
}

/// yyyy-mm-dd hh:nn:ss of a date, for comparisons that show what went wrong.
inline std::string Show(Date d) {
  DateParts p = SplitDate(d);
  char buf[64];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", p.year, p.month, p.day, p.hour,
                p.minute, p.second);
  return buf;
}

/// The error number a call raises, or 0 when it returns normally.
template <class F>
int ErrorOf(F&& f) {
  try {
    f();
  } catch (const Error& e) {
    return e.number();
  }
  return 0;
}

}  // namespace testing_util
}  // namespace automation
