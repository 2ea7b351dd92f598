#include "arenix/script/frame_guards.h"

#include "arenix/script/js_sources.h"
#include "arenix/script/one_line.h"
#include "automation/runtime.h"

namespace arenix::script {

Text ScriptNoInFrame() {
  return u"<Script language=\"JavaScript\">"
         u"try{"
         u"top.location.hostname;"
         u"if (top.location.hostname != window.location.hostname) {"
         u"top.location.href =window.location.href;"
         u"}"
         u"}"
         u"catch(e){"
         u"top.location.href = window.location.href;"
         u"}"
         u"</Script>";
}

Text ScriptNoInTop() {
  return ScriptElement(u"if(top!=self)"
                       u"{top.location=self.location;}");
}

Text ScriptMouse(const host::Request& request) {
  if (automation::LCase(automation::Trim(request.Query(u"excel"))) == u"yes") return Text();
  return ScriptElement(js::kInputBlocking) + ScriptElement(js::kDeleteQuestion) +
         ScriptElement(js::kNoErrorBoxes);
}

}  // namespace arenix::script
