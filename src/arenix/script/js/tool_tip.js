// The tool tip of CommScriptShowToolTipText in the element "dek". The tip sits
// right above the pointer; it lets the pointer through, so that it never
// takes the mouse from the element that asked for it.

var orvelTipShown = false;
function popwish(wish) {
  var image = "../comm/image/Orvel_TipText_";
  var dek = document.getElementById("dek");
  dek.innerHTML = "<table border=\"0\" cellpadding=\"0\" cellspacing=\"0\" width=\"200\">" +
    "<tr><td><img src=\"" + image + "LeftTop.asp\"></td><td style=\"background-image:url(" + image + "Top.asp)\"></td><td><img src=\"" + image + "RightTop.asp\"></td></tr>" +
    "<tr><td style=\"background-image:url(" + image + "Left.asp)\"></td><td bgcolor=\"#ffffff\" width=\"100%\"><font color=\"red\">" + wish + "</font></td><td style=\"background-image:url(" + image + "Right.asp)\"></td></tr>" +
    "<tr><td><img src=\"" + image + "LeftBottom.asp\"></td><td style=\"background-image:url(" + image + "Bottom.asp)\"><img src=\"" + image + "LeftBottom2.asp\"></td><td><img src=\"" + image + "RightBottom.asp\"></td></tr>" +
    "</table>";
  dek.style.visibility = "visible";
  orvelTipShown = true;
}
function get_mouse(e) {
  e = e || window.event;
  var dek = document.getElementById("dek");
  if (!dek || !orvelTipShown) {
    return;
  }
  var x = e.pageX != null ? e.pageX : e.clientX + document.documentElement.scrollLeft;
  var y = e.pageY != null ? e.pageY : e.clientY + document.documentElement.scrollTop;
  dek.style.left = x + "px";
  dek.style.top = (y - dek.offsetHeight) + "px";
}
function kill() {
  var dek = document.getElementById("dek");
  if (dek) {
    dek.style.visibility = "hidden";
  }
  orvelTipShown = false;
}
document.onmousemove = get_mouse;
