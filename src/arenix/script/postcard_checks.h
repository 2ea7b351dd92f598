// The identity-number checks of the registration pages, run in the browser
// before the form is sent. At every level they accept and refuse exactly the
// numbers that the server's check (check/postcard.h) accepts and refuses, so
// a delegation is never told one thing by the page and another by the
// server; only a lower-case check character "x" is let through here and
// left for the server to refuse.
#pragma once

#include "automation/text.h"

namespace arenix::script {

using automation::Text;

/// `isIdCardNo(objectname,num,level,autochange)`,
/// `CheckIdCardRange(objectname,num,level,autochange,YearMax,MinBirthDay,MaxBirthDay)`,
/// `create_postcard(objectname,birthday,sex)` and `checkDate(str)`.
/// `objectname` is the input element (or its id or name in `myform`).
Text ScriptCheckPostCard();

}  // namespace arenix::script
