// Scripts and boxes that finish a page after an action: the success
// message that moves on, the message box, the storage-usage bar, the
// headers that stop the browser from caching, and the scripts that reload
// the opener or parent page after an edit.
#pragma once

#include <cstdint>

#include "automation/variant.h"

namespace arenix::show {

using automation::Text;
using automation::TextView;
using automation::Variant;

/// CommShowSuccess: a script block that alerts the message (when it is not
/// blank) and then goes back (no address), closes the window (address
/// "close" in any case) or goes to the address.
Text ShowSuccess(TextView message, TextView url);

/// CommShowMessage: a full-size green-framed box with a title row and the
/// content followed by `url_html` (markup, typically a link).
Text ShowMessage(TextView title, TextView content, TextView url_html);

/// CommShowBar: the storage-usage table: total, used and remaining space
/// with bars scaled to 80 %. A used size that is Null, Empty or empty text
/// becomes 0 in the caller's variable. Sizes that are not numbers raise 13.
Text ShowBar(Variant& size_max, Variant& size_current);

/// CommClearCache: the page expires at once and is not cached.
void ClearCache(Variant& response);

/// CommOpenerRefresh: reloads the opener and closes this window.
Text OpenerRefresh();

/// CommOpenerEditRefresh: optional alert, reload of the opener (or of the
/// modal dialog's argument window), and with is_close == 1 the window closes.
Text OpenerEditRefresh(TextView show_title, uint8_t is_close);

/// CommDialogOpenerEditRefresh: closes the parent's dialog element (id
/// "Dialog" when blank), reloads the parent, then the optional alert and
/// close.
Text DialogOpenerEditRefresh(TextView show_title, uint8_t is_close, TextView dialog_id);

/// The text of a caller's message made safe inside a script string literal
/// in `quote`: an unescaped quote of that kind, a line break and "</" would
/// end the literal or the script, so they are escaped; escapes the caller
/// wrote (such as "\n" for a line break in an alert) stay as written.
Text MessageLiteral(TextView message, char16_t quote);

}  // namespace arenix::show
