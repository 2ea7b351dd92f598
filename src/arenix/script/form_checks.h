// Form checks that run in the browser: the submit check built from a check
// list, the value validators, and keyboard navigation between inputs.
// The page's data-entry form is `document.myform`.
#pragma once

#include "automation/text.h"

namespace arenix::script {

using automation::Text;
using automation::TextView;

/// `checkform()`, built from `check_list`: entries separated by "$", each
/// "field|empty message|max length or other field|its message" (missing
/// elements empty). The names "editor" and "editor2" stand for the
/// rich-text editors, whose content is checked in the field `Content`.
/// Entries without a field name are skipped; a field missing from the form
/// is not checked. Names and messages are escaped for script strings.
Text ScriptCheckForm(TextView check_list);

/// The client validators `OrvelRegCheckIs...`, each `(p_String)` -> boolean.
Text ScriptCheck();

/// `onKeyDownDefault(thisInput)`: Enter and the arrows move between inputs,
/// Ctrl+Enter submits `myform`; `IsDigit()`, `IsDigitAndSign()`.
Text ScriptOnKeyDownDefault();

}  // namespace arenix::script
