#include "arenix/text/replace_in_turn.h"

#include "automation/runtime.h"

namespace arenix::text {

automation::Text ReplaceInTurn(automation::TextView s, std::initializer_list<Replacement> steps) {
  automation::Text t(s);
  for (const auto& [from, to] : steps) t = automation::Replace(t, from, to);
  return t;
}

}  // namespace arenix::text
