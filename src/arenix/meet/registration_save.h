// Online registration save (CommWlbmSave): the delegation's athlete form
// checked against the meet's rules in their fixed order, then each named
// athlete's row of Ydybm written back.
//
// The first broken rule writes the error page (closing the page's record
// set and connection) and ends the save; rules 1 to 6 only read, so they
// store nothing. The stores run athlete by athlete in list order, each
// after that athlete's identity checks: when a later athlete fails them,
// the athletes before it are already stored. Every value reaches the
// statements through data::SqlText, so a name such as O'Neil is stored as
// typed. Unnamed rows are neither counted nor stored; an ID that is not in
// Ydybm stores nothing.
#pragma once

#include "arenix/meet/registration_rules.h"
#include "automation/variant.h"

namespace arenix::meet {

using automation::Variant;

/// The save. `request`, `response`, `conn` and `rs` are the page's.
void SaveRegistration(Variant& request, Variant& response, Variant& conn, Variant& rs,
                      const RegistrationSettings& settings);

/// The update that stores one athlete (step 8): 运动员, 分管教练 when the
/// meet stores it, the shown additional fields (身份证号码 for field 4) and
/// every slot 参赛项目1 ... , for the row of the form's delegation and age
/// group with the athlete's ID.
Text StoreAthleteStatement(const RegistrationForm& form, const RegisteredAthlete& athlete,
                           const RegistrationSettings& settings);

}  // namespace arenix::meet
