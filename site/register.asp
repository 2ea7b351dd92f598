<%@ Language=JavaScript %>
<!--#include file="inc/meet.inc"-->
<!--#include file="inc/team_staff.inc"-->
<%
// Online registration of a delegation: its athletes of one age group, their
// identity numbers, coach and events. The component applies the meet's
// registration rules and stops at the first one broken with the error page.
// A delegation's account sees and changes only its own entries; the
// organiser may open any delegation's.
arenix.CommCheckInject(Request, Response);
openMeet();
var me = requireRole([ROLE_DELEGATION, ROLE_ORGANISER]);
var own = me.role === ROLE_DELEGATION;
var team = own ? me.team : param("team"), age = param("age");
var slots = 5, counted = 3;

if (Request.ServerVariables("REQUEST_METHOD") == "POST") {
  arenix.CommCheckPost(Request, Response);
  if (!meet.网络报名) arenix.CommShowErrorPage(Response, rs, conn, "网络报名已关闭。");
  team = trim(Request.Form("ydy_team"));
  age = trim(Request.Form("ydy_age"));
  if (own && team !== me.team) arenix.CommShowErrorPage(Response, rs, conn, "只能修改本代表队的报名。");
  var known = false;
  eachRow("Select 代表队 From team Where AllTrim(代表队)==" + sq(team) + " And AllTrim(年龄组)==" + sq(age),
          function () { known = true; });
  if (!known) arenix.CommShowErrorPage(Response, rs, conn, "没有该代表队或年龄组，请重新选择！");
  var staff = teamStaff(team, age);
  if (own && staff.locked)
    arenix.CommShowErrorPage(Response, rs, conn, "本代表队该组别的报名已确认提交，如需修改请联系组委会解锁。");
  if (Request.Form("action") == "lock") {
    conn.value.BeginTrans();  // the lock and its audit entry: both or neither
    saveTeamStaff(team, age, staff.leaders, staff.coaches, true);
    audit("确认报名", age, team, "", "已锁定");
    conn.value.CommitTrans();
    closeMeet();
    Response.Redirect("register.asp?team=" + u(team) + "&age=" + u(age) + "&saved=2");
  }
  // The athletes, the staff and the audit entry are one unit of writes.
  conn.value.BeginTrans();
  var before = registrationSummary(team, age);
  // Identity numbers are checked at the strictest level (length, digits,
  // birth date, check character), and the birth date against the age
  // group's range when the age group has one.
  var born = ["", ""];
  eachRow("Select Dtos(出生起始) As a, Dtos(出生截止) As b From Age Where AllTrim(年龄组)==" + sq(age), function (row) {
    born = [trim(row("a")), trim(row("b"))];
  });
  var window_ = born[0].length == 8 || born[1].length == 8 ? 1 : 0;
  // Team leaders (at most 2) and coaches (at most 4), each name at most 5 characters.
  var leaders = arenix.CommWlbmTeamCheck(Request, Response, conn, rs, 1, 2, 5);
  var coaches = arenix.CommWlbmTeamCheck(Request, Response, conn, rs, 2, 4, 5);
  arenix.CommWlbmSave(Request, Response, conn, rs,
    16,        // athletes per delegation and age group
    2,         // entrants per event and sex (the events' own limits apply, below)
    counted,   // event slots that count
    slots - counted,
    "0001",    // the identity number is on the form
    4, 0,      // identity numbers: every check, check character included; no age limit
    window_, born[0], born[1],  // the age group's birth-date range
    1,         // the responsible coach is stored
    1, 0,      // a combined-event athlete enters nothing else
    1,         // each event's own limit per delegation
    "混");
  saveTeamStaff(team, age, leaders, coaches, staff.locked);
  audit("报名保存", age, team, before, registrationSummary(team, age) + "；领队：" + leaders + "；教练：" + coaches);
  conn.value.CommitTrans();
  closeMeet();
  Response.Redirect("register.asp?team=" + u(team) + "&age=" + u(age) + "&saved=1");
}

// The delegations and age groups that may register.
var pairs = [];
eachRow("Select 代表队, 年龄组 From team", function (row) {
  if (!own || row("代表队") === me.team) pairs.push([row("代表队"), row("年龄组")]);
});
var chosen = false;
for (var p = 0; p < pairs.length; p++) chosen = chosen || (pairs[p][0] === team && pairs[p][1] === age);
if (!chosen && pairs.length) { team = pairs[0][0]; age = pairs[0][1]; }
var staff = teamStaff(team, age);
var editable = meet.网络报名 && !(own && staff.locked);

// Events of the age group: those scheduled for it.
var events = [];
eachRow("Select Distinct 参赛项目 From PlaySour Where AllTrim(年龄组)==" + sq(age) + " And Empty(参赛子项目)", function (row) {
  events.push(row("参赛项目"));
});

// An athlete's event slot: the age group's events, the entered one chosen.
function eventSelect(name, value) {
  %><select name="<%= h(name) %>" class="inputselect"><option value=""></option><% options(events, value); %></select><%
}

pageTop("网络报名", "register.asp");
%>
<section class="panel">
  <h2>网络报名<small>每队每组每项限报 2 人，每人限报 2 项（接力除外），全能运动员不得兼项</small></h2>
  <% if (param("saved") === "1") { %><div class="msg ok">报名已保存。</div><% } %>
  <% if (param("saved") === "2") { %><div class="msg ok">报名已确认提交，如需修改请联系组委会解锁。</div><% } %>
  <% if (staff.locked) { %><div class="msg warn">本组别报名已确认提交（锁定）<%= own ? "，如需修改请联系组委会解锁" : "" %>。</div><% } %>
  <% if (!meet.网络报名) { %><div class="msg warn">网络报名已关闭，只能查看。</div><% } %>
  <form method="get" action="register.asp" class="form-row">
    <label for="pick">代表队与年龄组</label>
    <select id="pick" class="inputselect" onchange="var v=this.value.split('|');this.form.team.value=v[0];this.form.age.value=v[1];this.form.submit();">
      <% options(pairs.map(function (p) { return p[0] + "|" + p[1]; }), team + "|" + age,
                 pairs.map(function (p) { return p[0] + " · " + p[1]; })); %>
    </select>
    <input type="hidden" name="team" value="<%= h(team) %>"><input type="hidden" name="age" value="<%= h(age) %>">
  </form>

  <form method="post" action="register.asp" name="myform">
    <input type="hidden" name="ydy_team" value="<%= h(team) %>">
    <input type="hidden" name="ydy_age" value="<%= h(age) %>">
    <div class="form-row">
      <label for="TeamOld">领队</label><input type="text" id="TeamOld" name="TeamOld" class="inputtext" placeholder="多人用、分隔" value="<%= h(staff.leaders) %>">
      <label for="TeamTeacher">教练</label><input type="text" id="TeamTeacher" name="TeamTeacher" class="inputtext" placeholder="多人用、分隔" value="<%= h(staff.coaches) %>">
    </div>
    <div class="scroll"><table class="list reg">
      <thead><tr><th>序号</th><th>姓名</th><th>性别</th><th>身份证号码</th><th>分管教练</th>
<% for (var j = 1; j <= slots; j++) { %><th>项目<%= j %><% if (j > counted) { %><br><span class="note">不计项</span><% } %></th><% } %>
      </tr></thead>
      <tbody>
<%
var ids = "";
eachRow("Select * From Ydybm Where AllTrim(代表队)==" + sq(team) + " And AllTrim(年龄组)==" + sq(age) + " Order By ID", function (row, n) {
  var id = row("ID"), male = row("性别") === true;
  ids += "|" + id;
%>
        <tr><td><%= n + 1 %></td>
          <td><input type="text" name="ydy_xm_<%= h(id) %>" value="<%= h(row("运动员")) %>" size="6" class="inputtext"></td>
          <td><select name="ydy_xb_<%= h(id) %>" class="inputselect"><option value="True"<%= male ? " selected" : "" %>>男</option><option value="False"<%= male ? "" : " selected" %>>女</option></select></td>
          <td><input type="text" name="ydy_fjzd_<%= h(id) %>_4" value="<%= h(row("身份证号码")) %>" size="17" maxlength="18" class="inputtext"></td>
          <td><input type="text" name="ydy_fgjl_<%= h(id) %>" value="<%= h(row("分管教练")) %>" size="5" class="inputtext"></td>
<%   for (var j = 1; j <= slots; j++) { %>
          <td><% eventSelect("ydy_csxm_" + id + "_" + j, row("参赛项目" + j)); %></td>
<%   } %>
        </tr>
<% }); %>
      </tbody>
    </table></div>
    <input type="hidden" name="ydy_bh_list" value="<%= h(ids) %>">
    <div class="form-row" style="margin-top:14px">
      <input type="submit" value="保存报名" class="button" id="save"<%= editable ? "" : " disabled" %>>
      <span class="note">清空姓名即撤销该运动员的报名。</span>
    </div>
  </form>
  <% if (editable && !staff.locked) { %>
  <form method="post" action="register.asp" class="form-row" onsubmit="return confirm('确认提交后本组别报名将锁定，不能再修改。确定提交吗？');">
    <input type="hidden" name="ydy_team" value="<%= h(team) %>"><input type="hidden" name="ydy_age" value="<%= h(age) %>">
    <input type="hidden" name="action" value="lock">
    <input type="submit" value="确认提交报名" class="button secondary" id="lock">
  </form>
  <% } %>
</section>
<%
closeMeet();
pageEnd();
%>
