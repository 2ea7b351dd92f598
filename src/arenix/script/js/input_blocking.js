// Part of CommScriptMouse: no context menu, no new window by key, no
// shift-click on links and pictures. The handlers are installed as the
// document's own properties so that a page can still take one back; each
// cancels by both the old and the standard means.

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
