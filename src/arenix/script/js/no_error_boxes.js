// Part of CommScriptMouse: script errors show no message box.

function killErrors() {
  return true;
}
window.onerror = killErrors;
