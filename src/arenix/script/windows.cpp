#include "arenix/script/windows.h"

#include "arenix/page/window_scripts.h"
#include "arenix/script/one_line.h"

namespace arenix::script {

// Modal dialogs (showModalDialog) exist only in old browsers; everywhere
// else the modal openers fall back to a plain window of the same size.
Text ScriptOpenWindow() {
  return ScriptElement(uR"JS(
function OrvelOpenModal(p_Url, p_Width, p_Height, p_Scroll) {
  if (window.showModalDialog) {
    window.showModalDialog(p_Url, window, "dialogWidth:" + p_Width + "px;dialogHeight:" + p_Height + "px;help:no;scroll:" + (p_Scroll ? "yes" : "no") + ";status:no");
  } else {
    OpenWindow(p_Url, "_blank", p_Width, p_Height);
  }
  return false;
}
function OpenWindowModalScroll(p_Url, p_Width, p_Height) {
  return OrvelOpenModal(p_Url, p_Width, p_Height, true);
}
function OpenWindowModalNoScroll(p_Url, p_Width, p_Height) {
  return OrvelOpenModal(p_Url, p_Width, p_Height, false);
}
function OpenWindowFullScreen(p_Url) {
  var width = screen.availWidth - 10;
  var height = screen.availHeight - 30;
  window.open(p_Url + "?ScreenHeight=" + height, "orvel", "fullscreen=yes,left=0,top=0,width=" + width + ",height=" + height + ",toolbar=no,menubar=no,location=no,status=no,scrollbars=no,resizable=no");
}
function OpenWindowCenterScreen(p_Url, p_OpenName, p_Width, p_Height, p_Close) {
  var left = Math.max(0, Math.round((screen.availWidth - p_Width) / 2));
  var top = Math.max(0, Math.round((screen.availHeight - p_Height) / 2));
  var opened = window.open(p_Url, p_OpenName, "left=" + left + ",top=" + top + ",width=" + p_Width + ",height=" + p_Height + ",toolbar=no,menubar=no,location=no,status=no");
  if (p_Close == 1) {
)JS" + page::CloseWindowNoMessagebox() + uR"JS(
    if (opened) {
      opened.focus();
    }
  }
}
function OrvelOpenAt(p_Url, p_OpenName, p_Left, p_Top, p_Width, p_Height, p_Scroll) {
  var opened = window.open(p_Url, p_OpenName, "left=" + p_Left + ",top=" + p_Top + ",width=" + p_Width + ",height=" + p_Height + ",toolbar=no,menubar=no,location=no,status=no,resizable=no,scrollbars=" + (p_Scroll ? "yes" : "no"));
  if (opened) {
    opened.focus();
  }
  return false;
}
function OpenWindowQQNoScroll(p_Url, p_OpenName, p_Left, p_Top, p_Width, p_Height) {
  return OrvelOpenAt(p_Url, p_OpenName, p_Left, p_Top, p_Width, p_Height, false);
}
function OpenWindowQQScroll(p_Url, p_OpenName, p_Left, p_Top, p_Width, p_Height) {
  return OrvelOpenAt(p_Url, p_OpenName, p_Left, p_Top, p_Width, p_Height, true);
}
function OpenWindowResize(p_Url, p_Width, p_Height) {
  var opened = window.open(p_Url, "OpenWindowResize", "width=" + p_Width + ",height=" + p_Height + ",resizable=yes,scrollbars=no,toolbar=no,menubar=no,location=no,status=no");
  if (opened) {
    opened.focus();
  }
  return false;
}
function OpenWindow1(p_Url, p_OpenName, p_Width, p_Height) {
  window.open(p_Url, p_OpenName, "width=" + p_Width + ",height=" + p_Height);
}
function OpenWindow(p_Url, p_OpenName, p_Width, p_Height) {
  var opened = window.open(p_Url, p_OpenName, "width=" + p_Width + ",height=" + p_Height);
  if (opened) {
    opened.focus();
  }
  return false;
}
)JS");
}

Text ScriptPopSelect() {
  return ScriptElement(uR"JS(
function PopSelectData(obj, selectname) {
  var e = window.event;
  var x = e ? e.screenX : 0;
  var y = e ? e.screenY : 0;
  var url = "../comm/orvel_selectdata.asp?zdm=" + selectname;
  var value;
  if (window.showModalDialog) {
    value = window.showModalDialog(url, window, "dialogWidth:220px;dialogHeight:510px;dialogLeft:" + x + "px;dialogTop:" + y + "px;status:no");
  } else {
    window.open(url, "_blank", "width=220,height=510,left=" + x + ",top=" + y + ",status=no");
  }
  if (value != null && value != "") {
    obj.value = value;
  }
}
)JS");
}

Text ScriptPopWindow() {
  return u"<script language=\"JavaScript\" src=\"../comm/orvel_PopupClass.asp\"></script>" +
         ScriptElement(uR"JS(
var pop = null;
function OrvelNewPop(contentType, width, height) {
  pop = new Popup({ contentType: contentType, isReloadOnClose: false, width: width, height: height });
  return pop;
}
function OrvelOpenPop(title) {
  pop.setContent("title", title);
  pop.build();
  pop.show();
}
function ShowIframe(title, contentUrl, width, height) {
  OrvelNewPop(1, width, height).setContent("contentUrl", contentUrl);
  OrvelOpenPop(title);
}
function ShowHtmlString(title, strHtml, width, height) {
  OrvelNewPop(2, width, height).setContent("contentHtml", strHtml);
  OrvelOpenPop(title);
}
function ShowConfirm(title, confirmCon, id, str, width, height) {
  OrvelNewPop(3, width, height).setContent("confirmCon", confirmCon);
  pop.setContent("callBack", ShowCallBack);
  pop.setContent("parameter", { id: id, str: str, obj: pop });
  OrvelOpenPop(title);
}
function ShowAlert(title, alertCon, width, height) {
  OrvelNewPop(4, width, height).setContent("alertCon", alertCon);
  OrvelOpenPop(title);
}
function ShowCallBack(para) {
  para["obj"].close();
  var target = document.getElementById(para["id"]);
  if (target) {
    target.click();
  }
}
function ClosePop() {
  if (pop) {
    pop.close();
  }
}
)JS");
}

}  // namespace arenix::script
