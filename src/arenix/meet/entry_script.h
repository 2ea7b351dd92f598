// The keyboard script of the result-entry page (CommScriptOnKeyDown), so
// that a recorder types a whole heat without touching the mouse:
//
//   onKeyDownDefault(input, dot, len, zngy)  every entry input's key handler:
//       Ctrl+Enter submits document.myform; Enter or Down moves to the next
//       input (after the last, the first); Up keeps the focus and selects;
//       letters are not typed; with zngy 1 a field holding `len` characters
//       moves on at the next digit, which lands in the next field.
//   get_df(bh, pjldf)      adds or takes off the record points of entrant bh
//                          when its record box is ticked or cleared.
//   open_print_windows()   opens the print window "openwindow".
//
// The statements are joined without line breaks, so the script uses no line
// comments.
#pragma once

#include "automation/text.h"

namespace arenix::meet {

/// The whole <script> element.
automation::Text EntryKeyScript();

}  // namespace arenix::meet
