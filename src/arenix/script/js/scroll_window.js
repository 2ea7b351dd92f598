// Page scrolling of CommScriptScrollWindow: a double click starts it, a click
// stops it, and it stops by itself at the end of the page.

var timer = null;
function OrvelScrollTop() {
  return window.pageYOffset || document.documentElement.scrollTop || document.body.scrollTop || 0;
}
function OrvelScriptScrollWindow() {
  var before = OrvelScrollTop();
  window.scrollBy(0, 1);
  if (OrvelScrollTop() == before) {
    sc();
  }
}
function initialize() {
  if (!timer) {
    timer = setInterval(OrvelScriptScrollWindow, 1);
  }
}
function sc() {
  if (timer) {
    clearInterval(timer);
  }
  timer = null;
}
document.addEventListener("dblclick", initialize);
document.addEventListener("mousedown", sc);
