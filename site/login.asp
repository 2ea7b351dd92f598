<%@ Language=JavaScript %>
<!--#include file="inc/meet.inc"-->
<%
// Recorder login for online result entry: the password is checked with the
// component's MD5 against the meet's recorder table; the session then holds
// "user|events|name" under SPORTS_WLDF_Session.
arenix.CommCheckInject(Request, Response);
openMeet();

if (Request.ServerVariables("REQUEST_METHOD") == "POST") {
  arenix.CommCheckPost(Request, Response);
  arenix.CommCheckInput(Request, Response, "user|输入用户名|$password|输入密码|");
  var user = param("user"), account = null;
  eachRow("Select * From WldfUser Where AllTrim(用户名)==" + sq(user), function (row) {
    account = { password: row("密码"), name: row("姓名"), events: row("登分项目") };
  });
  if (account === null || arenix.CommMd5(String(Request.Form("password"))) != account.password)
    arenix.CommShowErrorPage(Response, rs, conn, "用户名或密码不正确，请重新输入！");
  Session.$put("", "SPORTS_WLDF_Session", user + "|" + account.events + "|" + account.name);
  closeMeet();
  Response.Redirect("entry.asp");
}

pageTop("记录员登录", "");
%>
<section class="panel login-box">
  <h2>记录员登录</h2>
  <p class="note">成绩录入只对本次运动会的记录员开放。</p>
  <form method="post" action="login.asp" name="login">
    <div class="form-row"><label for="user">用户名</label><input type="text" id="user" name="user" class="login_input" autocomplete="username" autofocus></div>
    <div class="form-row"><label for="password">密码</label><input type="password" id="password" name="password" class="login_input" autocomplete="current-password"></div>
    <div class="form-row"><input type="submit" value="登 录" class="login_button"></div>
  </form>
</section>
<%
closeMeet();
pageEnd();
%>
