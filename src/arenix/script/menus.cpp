#include "arenix/script/menus.h"

#include "arenix/script/one_line.h"

namespace arenix::script {

Text ScriptListMenu() {
  return ScriptElement(uR"JS(
var scores = new Array(20);
var numTotal = 0;
function initIt() {
  var divs = document.getElementsByTagName("div");
  for (var i = 0; i < divs.length; i++) {
    if (divs[i].className == "child") {
      divs[i].style.display = "none";
    }
  }
}
function expandIt(el) {
  var section = document.getElementById(el + "Child");
  if (section) {
    section.style.display = section.style.display == "none" ? "block" : "none";
  }
  for (var i = 1; i <= numTotal; i++) {
    if (scores[i] != null && scores[i] != el) {
      var other = document.getElementById(scores[i] + "Child");
      if (other) {
        other.style.display = "none";
      }
    }
  }
}
window.addEventListener("load", initIt);
)JS");
}

// The drag follows the pointer from where the button went down; dragging
// starts only with the left button, so the box's own inputs still work.
Text ScriptListMenuMove() {
  return ScriptElement(uR"JS(
var orvelDrag = null;
function moveIt() {
  var box = document.getElementById("floater");
  if (!box) {
    return;
  }
  var sideways = document.getElementById("scroll1") != null;
  var upDown = document.getElementById("scroll2") != null;
  box.addEventListener("mousedown", function (e) {
    if (e.button != 0 || (!sideways && !upDown)) {
      return;
    }
    orvelDrag = {
      x: e.clientX, y: e.clientY,
      left: parseInt(box.style.left, 10) || box.offsetLeft,
      top: parseInt(box.style.top, 10) || box.offsetTop
    };
  });
  document.addEventListener("mousemove", function (e) {
    if (!orvelDrag) {
      return;
    }
    if (sideways) {
      box.style.left = (orvelDrag.left + e.clientX - orvelDrag.x) + "px";
    }
    if (upDown) {
      box.style.top = (orvelDrag.top + e.clientY - orvelDrag.y) + "px";
    }
    e.preventDefault();
  });
  document.addEventListener("mouseup", function () {
    orvelDrag = null;
  });
}
)JS");
}

Text LoginFormScript(bool move, bool expand) {
  Text on_load;
  if (expand) on_load += u"  initIt();\n";
  if (move) on_load += u"  moveIt();\n";
  return ScriptElement(uR"JS(
function closeLoginForm() {
  var box = document.getElementById("floater");
  if (box) {
    box.style.visibility = "hidden";
  }
}
function showLoginForm() {
  var box = document.getElementById("floater");
  if (box) {
    box.style.left = (window.pageXOffset || document.documentElement.scrollLeft || 0) + "px";
    box.style.top = (window.pageYOffset || document.documentElement.scrollTop || 0) + "px";
    box.style.visibility = "visible";
  }
}
window.addEventListener("load", function () {
)JS" + on_load + u"});\n");
}

}  // namespace arenix::script
