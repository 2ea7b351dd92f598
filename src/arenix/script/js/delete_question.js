function cform() {
  if (!confirm("您确认删除该记录吗！")) {
    return false;
  }
  return true;
}
