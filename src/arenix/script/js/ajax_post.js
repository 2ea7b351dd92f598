function ShowAjax(p_ObjectID, p_Url, p_PostStr) {
  var request = OrvelAjaxRequest(p_ObjectID);
  request.open("POST", p_Url, true);
  request.setRequestHeader("Cache-Control", "no-cache");
  request.setRequestHeader("Content-Type", "application/x-www-form-urlencoded;");
  request.send(p_PostStr);
}
