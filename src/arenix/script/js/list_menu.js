// The collapsible menu of CommScriptListMenu: the page fills scores[1..] with
// the menu ids and sets numTotal; one section is open at a time.

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
