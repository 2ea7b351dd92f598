<%@ Language=JavaScript %>
<!--#include file="../inc/meet.inc"-->
<!--#include file="../inc/desk.inc"-->
<!--#include file="../inc/team_staff.inc"-->
<%
// Delegations per age group: registered athletes, leaders and coaches, and
// whether the registration is confirmed (locked). The organiser unlocks a
// confirmed registration, or resets one (every athlete's name, identity
// number and events cleared); both ask for confirmation first and go into
// the audit log.
arenix.CommCheckInject(Request, Response);
openMeet();
var me = requireOrganiser();
var action = param("action"), team = param("team"), age = param("age");

function knownPair(team, age) {
  var known = false;
  eachRow("Select 代表队 From team Where AllTrim(代表队)==" + sq(team) + " And AllTrim(年龄组)==" + sq(age),
          function () { known = true; });
  return known;
}

if (isPost()) {
  deskPost();
  action = formValue("action"); team = formValue("team"); age = formValue("age");
  if (!knownPair(team, age)) arenix.CommShowErrorPage(Response, rs, conn, "没有该代表队或年龄组。");
  if (formValue("confirm") !== "1") arenix.CommShowErrorPage(Response, rs, conn, "请先确认操作。");
  conn.value.BeginTrans();  // the change and its audit entry: both or neither
  var staff = teamStaff(team, age), before = registrationSummary(team, age);
  if (action === "unlock") {
    saveTeamStaff(team, age, staff.leaders, staff.coaches, false);
    audit("解锁报名", age, team, "已锁定", "未锁定");
  } else if (action === "reset") {
    var set = "运动员='', 身份证号码='', 分管教练='', 附加字段1='', 附加字段2='', 附加字段3=''";
    for (var j = 1; j <= 5; j++) set += ", 参赛项目" + j + "=''";
    conn.value.Execute("Update Ydybm Set " + set + " Where AllTrim(代表队)==" + sq(team) + " And AllTrim(年龄组)==" + sq(age));
    saveTeamStaff(team, age, "", "", false);
    audit("重置报名", age, team, before + (staff.leaders ? "；领队：" + staff.leaders : "") +
          (staff.coaches ? "；教练：" + staff.coaches : ""), "");
  } else {
    arenix.CommShowErrorPage(Response, rs, conn, "没有该操作。");
  }
  conn.value.CommitTrans();
  closeMeet();
  Response.Redirect("teams.asp?done=" + u(action) + "&team=" + u(team) + "&age=" + u(age));
}

deskTop("代表队报名", "admin/teams.asp");

// The confirmation page of an unlock or a reset.
if ((action === "unlock" || action === "reset") && knownPair(team, age)) {
  var summary = registrationSummary(team, age);
%>
<section class="panel confirm">
  <h2><%= action === "reset" ? "确认重置报名" : "确认解锁报名" %></h2>
  <p><%= h(team + " · " + age) %>：<%= action === "reset"
       ? "将清除该代表队本组别全部运动员的姓名、身份证号码与参赛项目，领队与教练也一并清除。此操作不能撤销。"
       : "解锁后代表队可以再次修改本组别的报名。" %></p>
  <p class="note">当前报名：<%= summary === "" ? "（无）" : h(summary) %></p>
  <form method="post" action="teams.asp" class="form-row">
    <input type="hidden" name="action" value="<%= h(action) %>">
    <input type="hidden" name="team" value="<%= h(team) %>"><input type="hidden" name="age" value="<%= h(age) %>">
    <input type="hidden" name="confirm" value="1">
    <input type="submit" class="button" id="confirm" value="<%= action === "reset" ? "确认重置" : "确认解锁" %>">
    <a href="teams.asp">取消</a>
  </form>
</section>
<%
} else {
  var rows = [];
  eachRow("Select 代表队, 年龄组 From team Order By 代表队, 年龄组", function (row) {
    rows.push({ team: row("代表队"), age: row("年龄组") });
  });
  var athletes = {};
  eachRow("Select 代表队, 年龄组, Count(*) As n From Ydybm Where Not Empty(运动员) Group By 代表队, 年龄组", function (row) {
    athletes[row("代表队") + "|" + row("年龄组")] = row("n");
  });
%>
<section class="panel">
  <h2>代表队报名<small>解锁与重置都会先请您确认，并记入操作日志</small></h2>
  <% if (param("done") !== "") { %><div class="msg ok">已完成：<%= param("done") === "reset" ? "重置" : "解锁" %> <%= h(team + " · " + age) %>。</div><% } %>
  <table class="list">
    <thead><tr><th>代表队</th><th>年龄组</th><th class="num">报名运动员</th><th>领队</th><th>教练</th><th>状态</th><th></th></tr></thead>
    <tbody>
<%
  for (var i = 0; i < rows.length; i++) {
    var r = rows[i], s = teamStaff(r.team, r.age), q = "&team=" + u(r.team) + "&age=" + u(r.age);
%>
      <%= arenix.CommShowGridTr(i + 1) %><td><%= h(r.team) %></td><td><%= h(r.age) %></td><td class="num"><%= athletes[r.team + "|" + r.age] || 0 %></td><td><%= h(s.leaders) %></td><td><%= h(s.coaches) %></td>
      <td><% if (s.locked) { %><span class="badge done">已确认</span><% } else { %><span class="badge todo">未确认</span><% } %></td>
      <td><a href="../register.asp?<%= q.substring(1) %>">查看</a> <% if (s.locked) { %><a href="teams.asp?action=unlock<%= q %>">解锁</a> <% } %><a href="teams.asp?action=reset<%= q %>">重置</a></td></tr>
<%
  }
%>
    </tbody>
  </table>
</section>
<%
}
closeMeet();
pageEnd();
%>
