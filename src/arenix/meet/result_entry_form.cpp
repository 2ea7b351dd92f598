#include "arenix/meet/result_entry_form.h"

#include "arenix/text/string_to_numeric.h"
#include "automation/coerce.h"
#include "automation/runtime.h"

namespace arenix::meet {

bool FormBool(TextView value) {
  const Text v = automation::LCase(automation::Trim(value));
  if (v == u"true" || v == u"on" || v == u"yes") return true;
  const auto number = automation::ParseNumber(v);
  return number && *number != 0;
}

double FormNumber(const host::Request& form, TextView key) {
  return automation::CurrencyToDouble(text::StringToNumeric(automation::Trim(form.Form(key))));
}

}  // namespace arenix::meet
