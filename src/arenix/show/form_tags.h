// The form's opening tag and hidden inputs of the add, edit and view pages.
// Both are built from the page's own texts, written as given.
#pragma once

#include "automation/text.h"

namespace arenix::show {

using automation::Text;
using automation::TextView;

/// "<form name='N'  id='I'  method='post' onkeydown='K' O  action='A'>":
/// blank name "myform", blank id the name, blank key script
/// "if (event.keyCode==13) {return false;}" (its "'" written as "\""), a key
/// script "null" (any case) for none, the other script `other` only when not
/// blank.
Text ShowFormLeft(TextView action, TextView name, TextView id, TextView key_script, TextView other);

/// "<input type='hidden'  name='N' id='N' value='V'>".
Text ShowHiddenInput(TextView name, TextView value);

}  // namespace arenix::show
