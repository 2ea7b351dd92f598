<%@ Language=JavaScript %>
<!--#include file="../inc/meet.inc"-->
<!--#include file="../inc/desk.inc"-->
<%
// The site's accounts: organisers, recorders with the events each may
// enter, and one account per delegation. New accounts, events, passwords;
// removal asks for confirmation. Passwords are never shown (they are kept
// only as salted hashes).
arenix.CommCheckInject(Request, Response);
openMeet();
var me = requireOrganiser();
var accounts = Server.CreateObject("Arenix.Accounts");
var message = "", action = param("action"), user = param("user");

// The events a recorder may be given: the meet's events.
var events = [];
eachRow("Select 参赛项目 From Item", function (row) { events.push(row("参赛项目")); });
var teams = [];
eachRow("Select Distinct 代表队 From team", function (row) { teams.push(row("代表队")); });

function postedEvents() {
  var chosen = [];
  for (var i = 0; i < events.length; i++)
    if (trim(Request.Form("ev" + i)) === "1") chosen.push(events[i]);
  return chosen.join(",");
}

if (isPost()) {
  deskPost();
  action = formValue("action");
  user = formValue("user");
  var what = "";
  if (action === "add") {
    var role = formValue("role");
    message = accounts.Add(Server, user, String(Request.Form("password")), role, formValue("name"),
                           role === ROLE_DELEGATION ? formValue("team") : "", role === ROLE_RECORDER ? postedEvents() : "");
    what = "新增账号";
    if (message === "") audit(what, role, formValue("team"), "", user + "（" + role + "）");
  } else if (action === "events") {
    var old = "";
    eachRow("Select 登分项目, 姓名, 代表队 From Account Where AllTrim(用户名)==" + sq(user), function (row) { old = row("登分项目"); });
    var now = postedEvents();
    message = accounts.Update(Server, user, formValue("name"), formValue("team"), now);
    what = "修改账号";
    if (message === "") audit(what, "登分项目", "", user + "：" + old, user + "：" + now);
  } else if (action === "password") {
    message = accounts.SetPassword(Server, user, String(Request.Form("password")));
    what = "重设密码";
    if (message === "") audit(what, "", "", user, user);
  } else if (action === "remove") {
    if (formValue("confirm") !== "1") message = "请先确认删除。";
    else if (user === me.user) message = "不能删除当前登录的账号。";
    else {
      message = accounts.Remove(Server, user);
      what = "删除账号";
      if (message === "") audit(what, "", "", user, "");
    }
  } else {
    message = "没有该操作。";
  }
  if (message === "") {
    closeMeet();
    Response.Redirect("accounts.asp?done=" + u(what) + "&user=" + u(user));
  }
}

var list = [];
eachRow("Select 用户名, 角色, 姓名, 代表队, 登分项目, 修改时间 From Account", function (row) {
  list.push({ user: row("用户名"), role: row("角色"), name: row("姓名"), team: row("代表队"),
              events: row("登分项目"), changed: row("修改时间") });
});
var order = {}; order[ROLE_ORGANISER] = 0; order[ROLE_RECORDER] = 1; order[ROLE_DELEGATION] = 2;
list.sort(function (a, b) { return (order[a.role] - order[b.role]) || (a.user < b.user ? -1 : a.user > b.user ? 1 : 0); });

// A box for each event a recorder may be given, the chosen ones ticked.
function eventBoxes(chosen) {
  for (var i = 0; i < events.length; i++) {
    %><label class="pick"><input type="checkbox" name="ev<%= i %>" value="1"<%= chosen.indexOf(events[i]) >= 0 ? " checked" : "" %>> <%= h(events[i]) %></label> <%
  }
}

deskTop("账号管理", "admin/accounts.asp");
%>
<section class="panel">
  <h2>账号管理<small>组委会、记录员（按项目）与代表队账号</small></h2>
  <% if (message !== "") { %><div class="msg warn" id="account-message"><%= h(message) %></div><% } %>
  <% if (param("done") !== "") { %><div class="msg ok">已完成：<%= h(param("done")) %> <%= h(param("user")) %>。</div><% } %>
<% if (action === "remove" && !isPost()) { %>
  <div class="confirm">
    <p>确认删除账号 <b><%= h(user) %></b> 吗？删除后该账号不能再登录。</p>
    <form method="post" action="accounts.asp" class="form-row">
      <input type="hidden" name="action" value="remove"><input type="hidden" name="user" value="<%= h(user) %>">
      <input type="hidden" name="confirm" value="1">
      <input type="submit" class="button" id="confirm" value="确认删除"> <a href="accounts.asp">取消</a>
    </form>
  </div>
<% } else if (action === "edit" && !isPost()) {
     var a = null;
     for (var i = 0; i < list.length; i++) if (list[i].user === user) a = list[i];
     if (a !== null) { %>
  <h3>修改 <%= h(a.user) %>（<%= h(a.role) %>）</h3>
  <form method="post" action="accounts.asp">
    <input type="hidden" name="action" value="events"><input type="hidden" name="user" value="<%= h(a.user) %>">
    <input type="hidden" name="team" value="<%= h(a.team) %>">
    <div class="form-row"><label>姓名</label><input type="text" name="name" value="<%= h(a.name) %>" class="inputtext"></div>
    <% if (a.role === ROLE_RECORDER) { %><div class="form-row"><label>可录入项目</label><% eventBoxes(a.events.split(",")); %></div><% } %>
    <div class="form-row"><input type="submit" class="button" value="保存"></div>
  </form>
  <form method="post" action="accounts.asp" class="form-row">
    <input type="hidden" name="action" value="password"><input type="hidden" name="user" value="<%= h(a.user) %>">
    <label>新密码</label><input type="password" name="password" autocomplete="new-password" class="inputtext">
    <input type="submit" class="button secondary" value="重设密码">
  </form>
<%   }
   } %>
  <table class="list">
    <thead><tr><th>用户名</th><th>角色</th><th>姓名</th><th>代表队</th><th>可录入项目</th><th>修改时间</th><th></th></tr></thead>
    <tbody>
<% for (var i = 0; i < list.length; i++) { var a = list[i]; %>
      <%= arenix.CommShowGridTr(i + 1) %><td><%= h(a.user) %></td><td><%= h(a.role) %></td><td><%= h(a.name) %></td><td><%= h(a.team) %></td><td><%= h(a.events.split(",").join("、")) %></td><td><%= h(a.changed) %></td>
      <td><a href="accounts.asp?action=edit&user=<%= u(a.user) %>">修改</a> <% if (a.user !== me.user) { %><a href="accounts.asp?action=remove&user=<%= u(a.user) %>">删除</a><% } %></td></tr>
<% } %>
    </tbody>
  </table>
</section>
<section class="panel">
  <h2>新增账号</h2>
  <form method="post" action="accounts.asp" id="add-account">
    <input type="hidden" name="action" value="add">
    <div class="form-row">
      <label>用户名</label><input type="text" name="user" class="inputtext" maxlength="20">
      <label>密码</label><input type="password" name="password" class="inputtext" autocomplete="new-password">
      <label>姓名</label><input type="text" name="name" class="inputtext" maxlength="20">
    </div>
    <div class="form-row">
      <label>角色</label><select name="role" class="inputselect"><option>记录员</option><option>代表队</option><option>管理员</option></select>
      <label>代表队</label><select name="team" class="inputselect"><option value=""></option>
<% for (var t = 0; t < teams.length; t++) { %><option><%= h(teams[t]) %></option><% } %>
      </select>
    </div>
    <div class="form-row"><label>可录入项目（记录员）</label><% eventBoxes([]); %></div>
    <div class="form-row"><input type="submit" class="button" value="新增"></div>
  </form>
</section>
<%
closeMeet();
pageEnd();
%>
