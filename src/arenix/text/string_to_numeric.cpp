#include "arenix/text/string_to_numeric.h"

#include "automation/coerce.h"
#include "automation/runtime.h"

namespace arenix::text {

automation::Currency StringToNumeric(automation::TextView s) {
  using namespace automation;
  Text trimmed = Trim(s);
  if (trimmed.empty() || !IsNumeric(Variant(trimmed))) return Currency{};
  Variant v(std::move(trimmed));
  float single = CSng(v);
  int32_t whole = CLng(v);
  // The comparison is made in double precision, as a Single and a Long
  // compare in the automation languages.
  if (static_cast<double>(single) != static_cast<double>(whole))
    return CurrencyFromDouble(static_cast<double>(single));
  return Currency{int64_t{whole} * Currency::kScale};
}

}  // namespace arenix::text
