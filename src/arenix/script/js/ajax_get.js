// ShowAjax(p_ObjectID, p_Url) of CommAjaxGet: loads p_Url with GET into the element
// p_ObjectID. Sent after ajax_request.js, in the same block.

function ShowAjax(p_ObjectID, p_Url) {
  var request = OrvelAjaxRequest(p_ObjectID);
  request.open("GET", p_Url, true);
  request.send(null);
}
