<%@ Language=JavaScript %>
<!--#include file="../inc/meet.inc"-->
<!--#include file="../inc/desk.inc"-->
<!--#include file="../inc/team_staff.inc"-->
<%
// The registration overview: per delegation and age group, the athletes
// registered and the entries of each event (men / women) against the
// event's limit per delegation; over the limit stands out. Paged and
// searchable by delegation or age group, and exported as a spreadsheet.
arenix.CommCheckInject(Request, Response);
openMeet();
var me = requireOrganiser();
var keyword = param("keyword"), exporting = param("export") === "1";
var counted = 3, perTeam = 16;

var events = [], limits = {};
eachRow("Select 参赛项目, 限报人数 From Item", function (row) {
  events.push(row("参赛项目"));
  limits[row("参赛项目")] = row("限报人数");
});

// Named athletes and entries per delegation|age group, from one pass over
// the registrations.
var athletes = {}, entries = {};
eachRow("Select * From Ydybm Where Not Empty(运动员)", function (row) {
  var key = row("代表队") + "|" + row("年龄组"), male = row("性别") === true;
  athletes[key] = (athletes[key] || 0) + 1;
  for (var j = 1; j <= counted; j++) {
    var e = row("参赛项目" + j).split("_")[0];
    if (e === "") continue;
    var k = key + "|" + e + "|" + (male ? "男" : "女");
    entries[k] = (entries[k] || 0) + 1;
  }
});

function cell(key, event, sex, excel) {
  var n = entries[key + "|" + event + "|" + sex] || 0, limit = limits[event];
  if (n === 0) return "";
  return n > limit && !excel ? "<span class=\"over\" title=\"超出限报 " + limit + " 人\">" + n + "</span>" : String(n);
}

function rowCells(team, age, excel) {
  var key = team + "|" + age, staff = teamStaff(team, age), n = athletes[key] || 0;
  var out = "<td>" + h(team) + "</td><td>" + h(age) + "</td><td>" +
    (n > perTeam && !excel ? "<span class=\"over\">" + n + "</span>" : n) + "</td><td>" +
    (staff.locked ? "已确认" : "未确认") + "</td>";
  for (var i = 0; i < events.length; i++)
    out += "<td>" + cell(key, events[i], "男", excel) + "</td><td>" + cell(key, events[i], "女", excel) + "</td>";
  return out;
}

var where = "";
if (keyword !== "") where = " Where At(" + sq(keyword) + ", 代表队)>0 Or At(" + sq(keyword) + ", 年龄组)>0";
rs.value.Open("Select 代表队, 年龄组 From team" + where + " Order By 代表队, 年龄组", conn.value, 1, 1);

if (exporting) {
  // Two header rows: the fixed columns span both, each event spans its
  // men's and women's column.
  var header1 = "代表队|1|2$年龄组|1|2$运动员|1|2$状态|1|2", header2 = "";
  for (var i = 0; i < events.length; i++) {
    header1 += "$" + events[i] + "（限" + limits[events[i]] + "人）|2";
    header2 += (header2 ? "$" : "") + "男$女";
  }
  var content = "";
  eachRecord(rs.value, function (row) { content += "<tr>" + rowCells(row("代表队"), row("年龄组"), true) + "</tr>"; });
  Response.Write(arenix.CommShowExcel(conn, rs, Response, "报名总览", 4 + events.length * 2, content, header1, header2));
  Response.End();
}

rs.value.PageSize = 12;
arenix.CommShowNoPage(Request, rs);
deskTop("报名总览", "admin/overview.asp");
%>
<section class="panel">
  <h2>报名总览<small>每项每队男女各限报人数见表头，超出的数字标红</small></h2>
  <form name="search" method="get" action="overview.asp" class="form-row">
    <label for="keyword">代表队或年龄组</label>
    <input type="search" id="keyword" name="keyword" value="<%= h(keyword) %>" class="inputtext">
    <input type="submit" value="搜 索" class="button">
    <a class="button secondary" id="export" href="overview.asp?export=1&keyword=<%= u(keyword) %>">导出表格</a>
  </form>
  <div class="scroll"><table class="list" id="overview">
    <thead><tr><th rowspan="2">代表队</th><th rowspan="2">年龄组</th><th rowspan="2">运动员</th><th rowspan="2">状态</th>
<% for (var i = 0; i < events.length; i++) { %><th colspan="2"><%= h(events[i]) %><br><span class="note">限<%= limits[events[i]] %>人</span></th><% } %>
    </tr><tr>
<% for (var i = 0; i < events.length; i++) { %><th>男</th><th>女</th><% } %>
    </tr></thead>
    <tbody>
<%
var shown = eachPageRow(function (row, k) {
  var team = row("代表队"), age = row("年龄组");
  // The team's name links to its athletes.
  var cells = rowCells(team, age, false).replace("<td>" + h(team) + "</td>",
    "<td><a href=\"../athletes.asp?team=" + u(team) + "&age=" + u(age) + "\">" + h(team) + "</a></td>");
%>
      <%= arenix.CommShowGridTr(k + 1) %><%= cells %></tr>
<% }); %>
<% if (shown === 0) { %><%= arenix.CommShowNoRecord(4 + events.length * 2) %><% } %>
    </tbody>
  </table></div>
  <div class="pager"><%= arenix.CommShowPage(Request, rs) %></div>
</section>
<%
closeMeet();
pageEnd();
%>
