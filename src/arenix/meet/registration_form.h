// Online registration: the delegation's athlete form as posted, read once
// into plain values. Every value is trimmed; a missing field reads as
// empty.
//
// Fields: "ydy_bh_list" (any collection) lists the rows' IDs after a
// leading element that is ignored ("|12|13|14"); per ID: "ydy_xm_" name,
// "ydy_xb_" sex ("True" for men), "ydy_fjzd_<id>_<i>" additional field i
// (1-4; 4 is the identity number), "ydy_csxm_<id>_<j>" event slot j (the
// event name, optionally "_" and a team letter), "ydy_fgjl_" coach; and
// "ydy_age", "ydy_team" for all rows.
#pragma once

#include <array>
#include <vector>

#include "automation/text.h"

namespace host {
class Request;
}

namespace arenix::meet {

using automation::Text;
using automation::TextView;

struct RegisteredAthlete {
  Text id;                    // Ydybm.ID
  Text name;                  // empty: an unnamed row, neither counted nor stored
  bool men = false;           // sex "True"
  std::array<Text, 4> extra;  // 附加字段1-3, then 身份证号码
  std::vector<Text> slots;    // 参赛项目1 ... in order
  Text coach;                 // 分管教练

  bool named() const { return !name.empty(); }
  const Text& identity() const { return extra[3]; }
};

struct RegistrationForm {
  Text age;   // ydy_age
  Text team;  // ydy_team
  std::vector<RegisteredAthlete> athletes;  // in list order
};

/// Reads the form with `slots` event slots per athlete (none when `slots`
/// is below 1).
RegistrationForm ReadRegistrationForm(const host::Request& request, int slots);

/// The event name of an entry value: the part before the first "_".
/// Example: SlotEvent(u"4×100米接力_A") == u"4×100米接力".
Text SlotEvent(TextView value);

}  // namespace arenix::meet
