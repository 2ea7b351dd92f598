// The marks a recorder types into the entry form, checked before a save
// writes anything: every part holds digits only (full-width digits read as
// digits, surrounding blanks dropped), fits its slot of the stored result
// and stays in range (seconds and minutes below 60), and a time names its
// seconds whenever a larger unit is typed. An entrant with every part
// empty has no result.
#pragma once

#include <array>
#include <functional>
#include <vector>

#include "arenix/meet/stored_result.h"
#include "host/host.h"

namespace arenix::meet {

/// One entrant's typed parts, cleaned, in the order ComposeStoredResult
/// takes them.
struct TypedMark {
  Text number;
  std::array<Text, 4> parts;
};

/// Reads the result fields ("playcj_1_" to "playcj_4_" + entry number) of
/// every entrant in `numbers`; `name_of` gives an entrant's name for the
/// message. A bad part raises error 5 naming the entrant (number and name),
/// the field and the rule.
std::vector<TypedMark> CheckedMarks(const host::Request& form, const std::vector<Text>& numbers,
                                    ResultLayout layout, const std::function<Text(TextView)>& name_of);

/// A typed part with full-width digits and blanks made plain and trimmed.
Text PlainDigits(TextView typed);

}  // namespace arenix::meet
