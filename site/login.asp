<%@ Language=JavaScript %>
<!--#include file="inc/meet.inc"-->
<%
// Login for every role of the site: the organiser (管理员), the recorders
// (记录员) and the delegations (代表队). The password store, the count of
// failures per account and per client address, and the new session id are
// the Accounts object's; this page asks and leads on: back to the page that
// sent the visitor here, or to the role's own page.
arenix.CommCheckInject(Request, Response);
openMeet();
var back = safeBack(Request.QueryString("back"));
var message = "";

function homeOf(role) {
  return role === ROLE_ORGANISER ? "admin/index.asp" : role === ROLE_RECORDER ? "entry.asp" : "register.asp";
}

if (Request.ServerVariables("REQUEST_METHOD") == "POST") {
  arenix.CommCheckPost(Request, Response);
  arenix.CommCheckInput(Request, Response, "user|输入用户名|$password|输入密码|");
  back = safeBack(Request.Form("back"));
  var accounts = Server.CreateObject("Arenix.Accounts");
  message = accounts.Login(Server, Request, Session, trim(Request.Form("user")), String(Request.Form("password")));
  if (message === "") {
    account = undefined;  // read the new login
    var who = currentAccount();
    closeMeet();
    Response.Redirect(back !== "" ? back : homeOf(who ? who.role : ""));
  }
}

pageTop("登录", "");
%>
<section class="panel login-box">
  <h2>登录</h2>
  <% if (message !== "") { %><div class="msg warn" id="login-message"><%= h(message) %></div><% } %>
  <% if (Request.QueryString("denied") == "1") { %><div class="msg warn">当前账号无权打开该页面，请用有权限的账号登录。</div><% } %>
  <p class="note">组委会、记录员与各代表队使用组委会发放的账号登录。</p>
  <form method="post" action="login.asp" name="login">
    <input type="hidden" name="back" value="<%= h(back) %>">
    <div class="form-row"><label for="user">用户名</label><input type="text" id="user" name="user" class="login_input" autocomplete="username" autofocus></div>
    <div class="form-row"><label for="password">密码</label><input type="password" id="password" name="password" class="login_input" autocomplete="current-password"></div>
    <div class="form-row"><input type="submit" value="登 录" class="login_button"></div>
  </form>
</section>
<%
closeMeet();
pageEnd();
%>
