// cform(): asks before a record is deleted (part of CommScriptMouse).

function cform() {
  if (!confirm("您确认删除该记录吗！")) {
    return false;
  }
  return true;
}
