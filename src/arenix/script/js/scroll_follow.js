// Keeps the back-to-top button "master" of CommScriptScrollWindowFollow in view.

var master = document.getElementById("master");
function FixY() {
  var top = window.pageYOffset || document.documentElement.scrollTop || document.body.scrollTop || 0;
  master.style.top = (top + 10) + "px";
}
setInterval(FixY, 100);
