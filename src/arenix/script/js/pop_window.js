// The site's pop-up boxes (CommScriptPopWindow) around one global pop; the
// Popup class comes from ../comm/orvel_PopupClass.asp, loaded just before.

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
