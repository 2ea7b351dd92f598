<%@ Language=JavaScript %>
<!--#include file="inc/meet.inc"-->
<%
// The registered athletes of each delegation and age group, 20 to a page,
// searchable by name. Identity numbers are shown in full only to the
// organiser and to the delegation's own account; everybody else sees them
// masked (110105********002X).
// No keyword guard here: every request value reaches the statement quoted
// by sq(), so a search for O'Neil or 50% finds them instead of being refused.
openMeet();
var team = param("team"), age = param("age"), keyword = param("keyword");
var where = " Where Not Empty(运动员)";
if (team !== "") where += " And AllTrim(代表队)==" + sq(team);
if (age !== "") where += " And AllTrim(年龄组)==" + sq(age);
if (keyword !== "") where += " And At(" + sq(keyword) + ", 运动员)>0";
rs.value.Open("Select ID, 运动员, 性别, 代表队, 年龄组, 身份证号码, 参赛项目1, 参赛项目2, 参赛项目3, 参赛项目4, 参赛项目5 From Ydybm" +
              where + " Order By 代表队, 年龄组, ID", conn.value, 1, 1);
rs.value.PageSize = 20;
arenix.CommShowNoPage(Request, rs);
var teams = [], ages = [];
eachRow("Select Distinct 代表队 From team", function (row) { teams.push(row("代表队")); });
eachRow("Select 年龄组 From Age", function (row) { ages.push(row("年龄组")); });

pageTop("报名名单", "athletes.asp");
%>
<section class="panel">
  <h2>报名名单<small>共 <%= rs.value.RecordCount %> 人</small></h2>
  <form name="search" method="get" action="athletes.asp" class="form-row">
    <label>代表队</label><select name="team" class="inputselect"><option value="">全部</option><% options(teams, team); %></select>
    <label>年龄组</label><select name="age" class="inputselect"><option value="">全部</option><% options(ages, age); %></select>
    <label for="keyword">姓名</label><input type="search" id="keyword" name="keyword" value="<%= h(keyword) %>" class="inputtext">
    <input type="submit" value="搜 索" class="button">
  </form>
  <table class="list" id="athletes">
    <thead><tr><th>代表队</th><th>年龄组</th><th>姓名</th><th>性别</th><th>身份证号码</th><th>参赛项目</th></tr></thead>
    <tbody>
<%
var shown = eachPageRow(function (row) {
  var t = row("代表队"), id = row("身份证号码"), evs = [];
  for (var j = 1; j <= 5; j++) if (row("参赛项目" + j) !== "") evs.push(row("参赛项目" + j));
%>
      <tr><td><%= h(t) %></td><td><%= h(row("年龄组")) %></td><td><%= h(row("运动员")) %></td><td><%= row("性别") === true ? "男" : "女" %></td><td class="idno"><%= h(seesIdentity(t) ? id : maskId(id)) %></td><td><%= h(evs.join("、")) %></td></tr>
<% }); %>
<% if (shown === 0) { %><%= arenix.CommShowNoRecord(6) %><% } %>
    </tbody>
  </table>
  <div class="pager"><%= arenix.CommShowPage(Request, rs, "|team|age|") %></div>
</section>
<%
closeMeet();
pageEnd();
%>
