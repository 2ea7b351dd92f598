#include "arenix/text/string_to_numeric.h"

#include "arenix/check/validators.h"
#include "automation/coerce.h"
#include "automation/runtime.h"

namespace arenix::text {

automation::Currency StringToNumeric(automation::TextView s) {
  using namespace automation;
  // The numeric rule of the value validators (CommCheckIsNumeric).
  if (!arenix::check::IsNumeric(s)) return Currency{};
  Variant v(Trim(s));
  float single = CSng(v);
  int32_t whole = CLng(v);
  // The comparison is made in double precision, as a Single and a Long
  // compare in the automation languages.
  if (static_cast<double>(single) != static_cast<double>(whole))
    return CurrencyFromDouble(static_cast<double>(single));
  return Currency{int64_t{whole} * Currency::kScale};
}

}  // namespace arenix::text
