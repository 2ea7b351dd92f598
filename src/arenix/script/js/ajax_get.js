function ShowAjax(p_ObjectID, p_Url) {
  var request = OrvelAjaxRequest(p_ObjectID);
  request.open("GET", p_Url, true);
  request.send(null);
}
