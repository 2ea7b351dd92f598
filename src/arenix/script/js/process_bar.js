// The "processing" bar of CommScriptShowProcessBar, shown on a click inside an
// element marked IsShowProcessBar="True". The bar grows by a fortieth of what
// is left, so it slows down as it nears the end and never claims to be done.

var bwidth = 0;
var orvelBarTimer = null;
function OrvelGrowProcessBar() {
  var box = document.getElementById("waiting");
  var full = box.clientWidth;
  if (bwidth < full * 0.98) {
    bwidth = Math.min(full * 0.98, bwidth + (full - bwidth) * 0.025);
    document.getElementById("sbar").style.width = bwidth + "px";
  }
}
function CheckIsProcessBar(obj) {
  return !(obj.getAttribute && obj.getAttribute("IsShowProcessBar") == "True");
}
function CheckClick(e) {
  e = e || window.event;
  var box = document.getElementById("waiting");
  if (box.style.visibility == "visible") {
    box.style.visibility = "hidden";
  }
  var obj = e.target || e.srcElement;
  while (obj && obj.nodeType == 1 && CheckIsProcessBar(obj)) {
    obj = obj.parentNode;
  }
  if (!obj || obj.nodeType != 1) {
    return true;
  }
  var scrollX = window.pageXOffset || document.documentElement.scrollLeft || 0;
  var scrollY = window.pageYOffset || document.documentElement.scrollTop || 0;
  var viewWidth = window.innerWidth || document.documentElement.clientWidth;
  var viewHeight = window.innerHeight || document.documentElement.clientHeight;
  box.style.left = Math.max(0, scrollX + (viewWidth - box.offsetWidth) / 2) + "px";
  box.style.top = Math.max(0, scrollY + (viewHeight - box.offsetHeight) / 2) + "px";
  box.style.visibility = "visible";
  if (!orvelBarTimer) {
    orvelBarTimer = setInterval(OrvelGrowProcessBar, 150);
  }
  return true;
}
document.addEventListener("click", CheckClick);
