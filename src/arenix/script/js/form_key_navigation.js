// Keyboard navigation for data-entry forms (CommScriptOnKeyDownDefault).
// Hidden and disabled inputs cannot take the focus, so the moves pass over
// them rather than stopping there. Ctrl+Enter submits through the form's own
// submit path, so the page's checkform() still runs.

function OrvelCanFocus(input) {
  return input.type != "hidden" && !input.disabled && input.style.display != "none";
}
function onKeyDownDefault(thisInput) {
  var e = window.event;
  if (!e) {
    return true;
  }
  if (e.ctrlKey && e.keyCode == 13) {
    if (document.myform.requestSubmit) {
      document.myform.requestSubmit();
    } else if (!document.myform.onsubmit || document.myform.onsubmit() != false) {
      document.myform.submit();
    }
    return false;
  }
  if (e.ctrlKey || e.altKey) {
    return true;
  }
  var type = String(thisInput.type || "").toLowerCase();
  if (thisInput.tagName == "TEXTAREA" || type == "submit") {
    return true;
  }
  var forward = (e.keyCode == 13 && !e.shiftKey) || (e.keyCode == 40 && type != "number");
  var back = (e.keyCode == 13 && e.shiftKey) || (e.keyCode == 38 && type != "number");
  if (!forward && !back) {
    return true;
  }
  var inputs = [];
  var all = document.getElementsByTagName("input");
  for (var i = 0; i < all.length; i++) {
    if (all[i] == thisInput || OrvelCanFocus(all[i])) {
      inputs.push(all[i]);
    }
  }
  var at = inputs.indexOf(thisInput);
  var next = null;
  if (forward) {
    next = inputs[(at + 1) % inputs.length];
  } else if (at > 0) {
    next = inputs[at - 1];
  }
  if (e.preventDefault) {
    e.preventDefault();
  }
  e.returnValue = false;
  if (next && next != thisInput) {
    next.focus();
    if (next.select) {
      next.select();
    }
  }
  return false;
}
function IsDigit() {
  var code = window.event ? window.event.keyCode : 0;
  return code >= 48 && code <= 57;
}
function IsDigitAndSign() {
  var code = window.event ? window.event.keyCode : 0;
  return (code >= 48 && code <= 57) || code == 45 || code == 46;
}
