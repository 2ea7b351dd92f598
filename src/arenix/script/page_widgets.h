// Page furniture written as script: the live clock, the "processing" bar,
// tool tips, page scrolling with its back-to-top button, the Ajax loaders
// and the picture helpers.
#pragma once

#include "automation/text.h"
#include "automation/variant.h"

namespace arenix::script {

using automation::Text;
using automation::TextView;

/// `ShowDateAndTimeScript()` writes date, weekday, time and day part into
/// the element "liveclock" every second and then runs `other_show` (script
/// text of the page, inserted as given). The page starts it.
Text ScriptShowDateAndTime(TextView other_show);

/// The hidden box "waiting" with the bar "sbar", shown centred after a click
/// on an element marked IsShowProcessBar="True" (or inside one);
/// `CheckIsProcessBar(obj)`, `CheckClick(e)`.
Text ScriptShowProcessBar();

/// `ShowAjax(p_ObjectID, p_Url)` with GET; with `post`,
/// `ShowAjax(p_ObjectID, p_Url, p_PostStr)` with POST.
Text AjaxLoader(bool post);

/// The element "dek" and `popwish(wish)`, `get_mouse(e)`, `kill()`.
Text ScriptShowToolTipText();

/// `initialize()`, `sc()`, `OrvelScriptScrollWindow()`: a double click
/// scrolls the page down, a mouse press stops it.
Text ScriptScrollWindow();

/// The back-to-top table "master" at `left` pixels, kept 10 pixels below the
/// top of the visible page by `FixY()`.
Text ScriptScrollWindowFollow(const automation::Variant& left);

/// The line that explains the scrolling, in `font_color`.
Text ShowScrollWindowTitle(TextView font_color);

/// `flag`, `DownImage(ImgD)`, `cgimg(o)`, `orvel_showpic(...)` and the
/// picture resizing of a form (`dheight`, `xheight`, `dwidth`, `xwidth`,
/// `photohy`).
Text ScriptImage();

}  // namespace arenix::script
