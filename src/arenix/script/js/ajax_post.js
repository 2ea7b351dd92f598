// ShowAjax(p_ObjectID, p_Url, p_PostStr) of CommAjaxPost: posts p_PostStr as a form
// to p_Url and puts the answer into the element p_ObjectID. Sent after
// ajax_request.js, in the same block.

function ShowAjax(p_ObjectID, p_Url, p_PostStr) {
  var request = OrvelAjaxRequest(p_ObjectID);
  request.open("POST", p_Url, true);
  request.setRequestHeader("Cache-Control", "no-cache");
  request.setRequestHeader("Content-Type", "application/x-www-form-urlencoded;");
  request.send(p_PostStr);
}
