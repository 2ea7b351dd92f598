// Window openers, the pop-up selection dialog and the site's pop-up boxes.
#pragma once

#include "automation/text.h"

namespace arenix::script {

using automation::Text;

/// `OpenWindowModalScroll`, `OpenWindowModalNoScroll`, `OpenWindowFullScreen`,
/// `OpenWindowCenterScreen`, `OpenWindowQQNoScroll`, `OpenWindowQQScroll`,
/// `OpenWindowResize`, `OpenWindow1` and `OpenWindow`.
Text ScriptOpenWindow();

/// `PopSelectData(obj,selectname)`: the selection page
/// "../comm/orvel_selectdata.asp?zdm=" + field code as a modal dialog.
Text ScriptPopSelect();

/// The site's `Popup` class ("../comm/orvel_PopupClass.asp") and, around one
/// global `pop`, `ShowIframe`, `ShowHtmlString`, `ShowConfirm`, `ShowAlert`,
/// `ShowCallBack` and `ClosePop`. The class's contract: `new Popup({contentType,
/// isReloadOnClose, width, height})`, `setContent(key, value)` for "title",
/// "contentUrl", "contentHtml", "confirmCon", "alertCon", "callBack" and
/// "parameter" before `build()`, then `show()` and `close()`.
Text ScriptPopWindow();

}  // namespace arenix::script
