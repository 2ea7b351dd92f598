#include "arenix/script/frame_guards.h"

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

namespace {

// Handlers are installed as the document's own properties so that a page
// can still take one back; each cancels by both the old and the standard
// means.
constexpr char16_t kInputBlocking[] = uR"JS(
function OrvelCancelEvent(e) {
  if (e) {
    if (e.preventDefault) {
      e.preventDefault();
    }
    if (e.stopPropagation) {
      e.stopPropagation();
    }
    e.returnValue = false;
  }
  return false;
}
function OrvelIsLinkOrImage(e) {
  var target = e.target || e.srcElement;
  while (target && target.tagName) {
    if (target.tagName == "A" || target.tagName == "IMG") {
      return true;
    }
    target = target.parentNode;
  }
  return false;
}
function NoContextMenu(e) {
  return OrvelCancelEvent(e || window.event);
}
function NoRightClick(e) {
  e = e || window.event;
  if (e.button == 1 || e.button == 2 || (e.shiftKey && OrvelIsLinkOrImage(e))) {
    return OrvelCancelEvent(e);
  }
  return true;
}
function NoCtrlN(e) {
  e = e || window.event;
  if ((e.ctrlKey && e.keyCode == 78) || e.keyCode == 114) {
    return OrvelCancelEvent(e);
  }
  if (e.altKey && e.keyCode == 115) {
    if (window.showModelessDialog) {
      window.showModelessDialog("about:blank", "", "dialogWidth:0px;dialogHeight:0px");
    }
    return OrvelCancelEvent(e);
  }
  return true;
}
function CancelLink(e) {
  e = e || window.event;
  if (e.shiftKey && OrvelIsLinkOrImage(e)) {
    return OrvelCancelEvent(e);
  }
  return true;
}
document.oncontextmenu = NoContextMenu;
document.onmousedown = NoRightClick;
document.onkeydown = NoCtrlN;
document.onclick = CancelLink;
)JS";

constexpr char16_t kDeleteQuestion[] = uR"JS(
function cform() {
  if (!confirm("您确认删除该记录吗！")) {
    return false;
  }
  return true;
}
)JS";

constexpr char16_t kNoErrorBoxes[] = uR"JS(
function killErrors() {
  return true;
}
window.onerror = killErrors;
)JS";

}  // namespace

Text ScriptMouse(const host::Request& request) {
  if (automation::LCase(automation::Trim(request.Query(u"excel"))) == u"yes") return Text();
  return ScriptElement(kInputBlocking) + ScriptElement(kDeleteQuestion) + ScriptElement(kNoErrorBoxes);
}

}  // namespace arenix::script
