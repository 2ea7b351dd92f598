// ArenixCls methods of the client script emitters.
#include "arenix/frame/arenix_cls.h"
#include "arenix/script/frame_guards.h"
#include "arenix/script/menus.h"

namespace arenix {

using automation::ObjectCast;

Text ArenixCls::CommScriptNoInFrame() { return script::ScriptNoInFrame(); }
Text ArenixCls::CommScriptNoInTop() { return script::ScriptNoInTop(); }
Text ArenixCls::CommScriptMouse(Variant& Request) {
  return script::ScriptMouse(ObjectCast<host::Request>(Request));
}
Text ArenixCls::CommScriptListMenu() { return script::ScriptListMenu(); }
Text ArenixCls::CommScriptListMenuMove() { return script::ScriptListMenuMove(); }

}  // namespace arenix
