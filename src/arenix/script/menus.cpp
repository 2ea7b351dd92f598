#include "arenix/script/menus.h"

#include "arenix/script/js_sources.h"
#include "arenix/script/one_line.h"
#include "arenix/script/script_template.h"

namespace arenix::script {

Text ScriptListMenu() {
  return ScriptElement(js::kListMenu);
}

Text ScriptListMenuMove() {
  return ScriptElement(js::kListMenuMove);
}

Text LoginFormScript(bool move, bool expand) {
  Text on_load;
  if (expand) on_load += u"initIt();\n";
  if (move) on_load += u"moveIt();\n";
  return ScriptElement(FillIn(js::kLoginForm, {{u"on_load", on_load}}));
}

}  // namespace arenix::script
