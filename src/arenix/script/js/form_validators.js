// The client validators of CommScriptCheck, each (p_String) -> boolean.

function OrvelRegCheckIsTelephone(p_String) {
  return /^[0-9-]{7,18}$/.test(p_String);
}
function OrvelRegCheckIsEmail(p_String) {
  return /^([a-zA-Z0-9_-])+@([a-zA-Z0-9_-])+((\.[a-zA-Z0-9_-]{2,3}){1,2})$/.test(p_String);
}
function OrvelRegCheckIsInteger(p_String) {
  return /^[-]{0,1}[0-9]{1,}$/.test(p_String);
}
function OrvelRegCheckIsAge(p_String) {
  var year = new Date().getFullYear();
  var birthYear = Number(p_String);
  return String(p_String).replace(/ /g, "") != "" && birthYear >= year - 60 && birthYear <= year - 18;
}
function OrvelRegCheckIsValidTrueName(p_String) {
  var name = String(p_String).replace(/^\s+|\s+$/g, "");
  return !/^[A-Z \u4E00-\u9FA5]+$/.test(name);
}
function OrvelRegCheckIsChinese(p_String) {
  return /^[\u4E00-\u9FA5]+$/.test(p_String);
}
function OrvelRegCheckValidPasswd(p_String) {
  return /^[\u0000-\u007F]{6,16}$/.test(p_String);
}
function OrvelRegCheckIsNull(p_String) {
  return /^ *$/.test(p_String);
}
function OrvelRegCheckIsIP(p_String) {
  var parts = /^([0-9]+)\.([0-9]+)\.([0-9]+)\.([0-9]+)$/.exec(p_String);
  if (!parts) {
    return false;
  }
  for (var i = 1; i <= 4; i++) {
    if (parseInt(parts[i], 10) >= 256) {
      return false;
    }
  }
  return true;
}
