// The window openers of CommScriptOpenWindow. Modal dialogs
// (showModalDialog) exist only in old browsers; everywhere else the modal
// openers fall back to a plain window of the same size. ${close_window}: the
// statements that close the current window without the browser's question.

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
    ${close_window}
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
