// moveIt() of CommScriptListMenuMove makes the box "floater" draggable. The
// drag follows the pointer from where the button went down; dragging starts
// only with the left button, so the box's own inputs still work.

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
