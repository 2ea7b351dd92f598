// The request that both Ajax loaders share: when the answer arrives with
// status 200 its text goes into the element p_ObjectID.

function OrvelAjaxRequest(p_ObjectID) {
  var request = window.XMLHttpRequest ? new XMLHttpRequest() : new ActiveXObject("Microsoft.XMLHTTP");
  request.onreadystatechange = function () {
    if (request.readyState == 4 && request.status == 200) {
      var target = document.getElementById(p_ObjectID);
      if (target) {
        target.innerHTML = request.responseText;
      }
    }
  };
  return request;
}
