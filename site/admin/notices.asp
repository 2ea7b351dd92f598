<%@ Language=JavaScript %>
<!--#include file="../inc/meet.inc"-->
<!--#include file="../inc/desk.inc"-->
<%
// Notices shown on the home page: publish, and remove after confirmation.
arenix.CommCheckInject(Request, Response);
openMeet();
var me = requireOrganiser();
var action = param("action"), id = parseInt(param("id"), 10) || 0, message = "";

function noticeTitle(id) {
  var t = null;
  eachRow("Select 标题 From Notice Where 编号=" + id, function (row) { t = row("标题"); });
  return t;
}

if (isPost()) {
  deskPost();
  action = formValue("action");
  id = parseInt(formValue("id"), 10) || 0;
  if (action === "add") {
    var title = formValue("title"), text = trim(Request.Form("text"));
    if (title === "" || text === "") message = "请填写通知标题和内容。";
    else if (title.length > 50) message = "通知标题不能超过 50 个字。";
    else if (text.length > 4000) message = "通知内容不能超过 4000 个字。";
    else {
      var next = 1;
      eachRow("Select Max(编号) As n From Notice", function (row) { next = (row("n") || 0) + 1; });
      conn.value.BeginTrans();
      conn.value.Execute("Insert Into Notice (编号, 标题, 内容, 时间, 发布人) Values (" + next + ", " + sq(title) + ", " +
                         sq(text) + ", " + sq(nowText()) + ", " + sq(me.user) + ")");
      audit("发布通知", "", "", "", title);
      conn.value.CommitTrans();
    }
  } else if (action === "remove") {
    var t = noticeTitle(id);
    if (t === null) message = "没有该通知。";
    else if (formValue("confirm") !== "1") message = "请先确认删除。";
    else {
      conn.value.BeginTrans();
      conn.value.Execute("Delete From Notice Where 编号=" + id);
      audit("删除通知", "", "", t, "");
      conn.value.CommitTrans();
    }
  } else message = "没有该操作。";
  if (message === "") { closeMeet(); Response.Redirect("notices.asp?done=1"); }
}

deskTop("通知", "admin/notices.asp");
%>
<section class="panel">
  <h2>首页通知</h2>
  <% if (message !== "") { %><div class="msg warn"><%= h(message) %></div><% } %>
  <% if (param("done") === "1") { %><div class="msg ok">已保存。</div><% } %>
<% if (action === "remove" && !isPost() && noticeTitle(id) !== null) { %>
  <div class="confirm">
    <p>确认删除通知《<%= h(noticeTitle(id)) %>》吗？</p>
    <form method="post" action="notices.asp" class="form-row">
      <input type="hidden" name="action" value="remove"><input type="hidden" name="id" value="<%= id %>">
      <input type="hidden" name="confirm" value="1">
      <input type="submit" class="button" id="confirm" value="确认删除"> <a href="notices.asp">取消</a>
    </form>
  </div>
<% } %>
<% var n = eachRow("Select * From Notice Order By 时间 Desc", function (row) { %>
  <div class="notice"><h3><%= h(row("标题")) %> <small class="note"><%= h(row("时间")) %> · <%= h(row("发布人")) %></small> <a href="notices.asp?action=remove&id=<%= row("编号") %>">删除</a></h3><p><%= h(row("内容")) %></p></div>
<% }); %>
<% if (n === 0) { %><p class="note">还没有通知。</p><% } %>
  <h3>发布通知</h3>
  <form method="post" action="notices.asp">
    <input type="hidden" name="action" value="add">
    <div class="form-row"><label>标题</label><input type="text" name="title" maxlength="50" class="inputtext" style="width:30em"></div>
    <div class="form-row"><label>内容</label><textarea name="text" rows="4" cols="60"></textarea></div>
    <div class="form-row"><input type="submit" class="button" value="发布"></div>
  </form>
</section>
<%
closeMeet();
pageEnd();
%>
