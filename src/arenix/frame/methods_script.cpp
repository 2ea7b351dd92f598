// ArenixCls methods of the client script emitters.
#include "arenix/frame/arenix_cls.h"
#include "arenix/script/form_checks.h"
#include "arenix/script/frame_guards.h"
#include "arenix/script/menus.h"
#include "arenix/script/page_widgets.h"
#include "arenix/script/postcard_checks.h"
#include "arenix/script/windows.h"

namespace arenix {

using automation::ObjectCast;

Text ArenixCls::CommScriptNoInFrame() { return script::ScriptNoInFrame(); }
Text ArenixCls::CommScriptNoInTop() { return script::ScriptNoInTop(); }
Text ArenixCls::CommScriptImage() { return script::ScriptImage(); }
Text ArenixCls::CommScriptMouse(Variant& Request) {
  return script::ScriptMouse(ObjectCast<host::Request>(Request));
}
Text ArenixCls::CommScriptListMenu() { return script::ScriptListMenu(); }
Text ArenixCls::CommScriptListMenuMove() { return script::ScriptListMenuMove(); }
Text ArenixCls::CommScriptCheckForm(Text p_CheckList) { return script::ScriptCheckForm(p_CheckList); }
Text ArenixCls::CommScriptCheck() { return script::ScriptCheck(); }
Text ArenixCls::CommScriptCheckPostCard() { return script::ScriptCheckPostCard(); }
Text ArenixCls::CommScriptOpenWindow() { return script::ScriptOpenWindow(); }
Text ArenixCls::CommScriptPopSelect() { return script::ScriptPopSelect(); }
Text ArenixCls::CommScriptPopWindow() { return script::ScriptPopWindow(); }
Text ArenixCls::CommScriptOnKeyDownDefault() { return script::ScriptOnKeyDownDefault(); }
Text ArenixCls::CommScriptShowDateAndTime(Text p_OtherShow) {
  return script::ScriptShowDateAndTime(p_OtherShow);
}
Text ArenixCls::CommScriptShowProcessBar() { return script::ScriptShowProcessBar(); }
Text ArenixCls::CommAjaxGet() { return script::AjaxLoader(false); }
Text ArenixCls::CommAjaxPost() { return script::AjaxLoader(true); }
Variant ArenixCls::CommScriptShowToolTipText() { return Variant(script::ScriptShowToolTipText()); }
Text ArenixCls::CommScriptScrollWindow() { return script::ScriptScrollWindow(); }
Text ArenixCls::CommScriptScrollWindowFollow(Variant& p_Left) {
  return script::ScriptScrollWindowFollow(p_Left);
}
Text ArenixCls::CommShowScrollWindowTitle(Text p_FontColor) {
  return script::ShowScrollWindowTitle(p_FontColor);
}

}  // namespace arenix
