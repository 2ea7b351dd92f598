// The two-dimensional array a page fills for a chart, written row by row
// (row 0 included) for tests.
#pragma once

#include <initializer_list>

#include "automation/variant.h"

namespace arenix::testing {

inline automation::Variant ChartTable(std::initializer_list<std::initializer_list<automation::Variant>> rows) {
  automation::Array a;
  a.columns = static_cast<int32_t>(rows.begin()->size());
  for (const auto& row : rows)
    for (const auto& cell : row) a.items.push_back(cell);
  return automation::Variant(std::move(a));
}

}  // namespace arenix::testing
