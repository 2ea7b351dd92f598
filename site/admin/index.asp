<%@ Language=JavaScript %>
<!--#include file="../inc/meet.inc"-->
<!--#include file="../inc/desk.inc"-->
<%
// The organiser's desk: behind the organiser's login (the component's login
// desktop is the entrance), the switches of online registration and result
// entry, the meet's figures and the ways to the desk's pages.
arenix.CommCheckInject(Request, Response);
openMeet();
var me = currentAccount();

if (me === null || me.role !== ROLE_ORGANISER) {
  // The entrance: the login desktop, posting to the site's one login.
  pageTop("组委会工作台登录", "admin/index.asp");
  var content =
    arenix.CommShowLoginInput("用户名", "user", "text", true, "", "组委会账号") +
    arenix.CommShowLoginInput("密　码", "password", "password", true, "", "") +
    "<tr><td><input type='hidden' name='back' value='admin/index.asp'></td></tr>" +
    arenix.CommShowLoginButtons(true);
  var notice = me !== null ? "<tr><td class='login_caption'>当前账号（" + h(me.user) + "）不是组委会账号</td></tr>" : "";
%>
<section class="panel"><%= arenix.CommShowLoginDesktop(conn, rs, "30|20|20", h(meet.运动会名称) + "<br>组委会工作台", "../login.asp", content, notice) %></section>
<%
  pageEnd();
  Response.End();
}

if (isPost()) {
  deskPost();
  var which = formValue("switch"), on = formValue("on") === "1";
  if (which !== "网络报名" && which !== "网络登分") arenix.CommShowErrorPage(Response, rs, conn, "没有该开关。");
  var was = meet[which];
  conn.value.BeginTrans();
  conn.value.Execute("Update xtsz Set " + which + "=" + (on ? ".T." : ".F."));
  audit(on ? "开启" + which : "关闭" + which, which, "", was ? "开放" : "关闭", on ? "开放" : "关闭");
  conn.value.CommitTrans();
  closeMeet();
  Response.Redirect("index.asp?done=" + u(which));
}

function count(sql) { var n = 0; eachRow(sql, function (row) { n = row("n"); }); return n; }
var figures = [
  ["代表队", count("Select Count(Distinct 代表队) As n From team")],
  ["报名运动员", count("Select Count(*) As n From Ydybm Where Not Empty(运动员)")],
  ["参赛人次", count("Select Count(*) As n From Play Where Empty(参赛子项目)")],
  ["已录赛次", count("Select Count(*) As n From PlaySour Where 比赛状态=.T.") + " / " + count("Select Count(*) As n From PlaySour")],
  ["已确认报名", count("Select Count(*) As n From TeamStaff Where 锁定=.T.")]
];

// The switch of online registration or result entry: its state and the
// button that turns it.
function switchBox(name, caption) {
  var on = meet[name];
%>
    <div class="switch"><h3><%= caption %>：<span class="badge <%= on ? "done" : "todo" %>"><%= on ? "开放中" : "已关闭" %></span></h3>
      <form method="post" action="index.asp"><input type="hidden" name="switch" value="<%= name %>"><input type="hidden" name="on" value="<%= on ? "0" : "1" %>"><input type="submit" class="button<%= on ? " secondary" : "" %>" id="switch-<%= name === "网络报名" ? "register" : "entry" %>" value="<%= (on ? "关闭" : "开放") + caption %>"></form></div>
<%
}

deskTop("组委会工作台", "admin/index.asp");
%>
<section class="panel">
  <h2>组委会工作台<small><%= h(me.name) %></small></h2>
  <% if (param("done") !== "") { %><div class="msg ok">已更改：<%= h(param("done")) %>。</div><% } %>
  <div class="figures">
<% for (var i = 0; i < figures.length; i++) { %><div><b><%= h(figures[i][1]) %></b><%= figures[i][0] %></div><% } %>
  </div>
  <div class="switches">
<% switchBox("网络报名", "网络报名"); %>
<% switchBox("网络登分", "成绩录入"); %>
  </div>
</section>
<%
closeMeet();
pageEnd();
%>
