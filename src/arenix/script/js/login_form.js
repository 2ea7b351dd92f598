// Shows and hides the floating login box of the movable menu box.
// ${on_load}: the set-up calls (initIt(), moveIt()) that the box asks for.

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
  ${on_load}
});
