// PopSelectData(obj, selectname) of CommScriptPopSelect: the option picker of
// a field as a modal dialog at the mouse.

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
