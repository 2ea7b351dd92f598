#include "arenix/meet/mark_number.h"

#include "automation/coerce.h"
#include "automation/runtime.h"

namespace arenix::meet {

std::optional<double> MarkNumber(ResultLayout layout, TextView stored) {
  if (IsEmptyResult(stored)) return std::nullopt;
  if (layout == ResultLayout::kCustom || layout == ResultLayout::kCombinedTotal)
    return automation::ParseNumber(automation::Trim(stored));
  const Text key = SortKeyOf(stored);
  if (key.size() != kStoredResultWidth || key.find_first_not_of(u"0123456789") != Text::npos) return std::nullopt;
  return layout == ResultLayout::kField ? MetresOfKey(key) : SecondsOfKey(key);
}

}  // namespace arenix::meet
