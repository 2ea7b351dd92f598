<%@ Language=JavaScript %>
<!--#include file="inc/meet.inc"-->
<%
// The list of entrants: every athlete's events, 20 to a page, with a search
// by name, number or delegation and a choice of age group.
// No keyword guard here: every request value reaches the statement quoted
// by sq(), so a search for O'Neil or 50% finds them instead of being refused.
openMeet();
var age = param("age"), keyword = param("keyword");
var where = " Where Empty(参赛子项目)";
if (age !== "") where += " And AllTrim(年龄组)==" + sq(age);
if (keyword !== "")
  where += " And (" + ["运动员", "代表队", "编号", "参赛项目"].map(function (c) {
    return "At(" + sq(keyword) + ", " + c + ")>0";
  }).join(" Or ") + ")";
rs.value.Open("Select 编号, 运动员, 性别, 代表队, 年龄组, 参赛项目, 比赛团队 From Play" + where +
              " Order By 代表队, 年龄组, 编号, 参赛项目", conn.value, 1, 1);
rs.value.PageSize = 20;
arenix.CommShowNoPage(Request, rs);
var ages = [];
eachRow("Select 年龄组 From Age", function (row) { ages.push(row("年龄组")); });
pageTop("参赛名单", "entrants.asp");
%>
<section class="panel">
  <h2>参赛名单<small>共 <%= rs.value.RecordCount %> 人次</small></h2>
  <form name="search" method="get" action="entrants.asp" class="form-row">
    <label>年龄组</label>
    <select name="age" class="inputselect"><option value="">全部</option>
      <% options(ages, age); %>
    </select>
    <label for="keyword">关键字</label>
    <input type="search" id="keyword" name="keyword" value="<%= h(keyword) %>" placeholder="姓名、编号、代表队或项目" class="inputtext">
    <input type="submit" value="搜 索" class="button">
  </form>
  <table class="list">
    <thead><tr><th>编号</th><th>姓名</th><th>性别</th><th>代表队</th><th>年龄组</th><th>参赛项目</th></tr></thead>
    <tbody>
<%
var shown = eachPageRow(function (row) {
  var team = row("比赛团队");
%>
      <tr><td><%= h(row("编号")) %></td><td><%= h(row("运动员")) %><% if (team !== "") { %>（<%= h(team) %>）<% } %></td><td><%= row("性别") === true ? "男" : "女" %></td><td><%= h(row("代表队")) %></td><td><%= h(row("年龄组")) %></td><td><%= h(row("参赛项目")) %></td></tr>
<% }); %>
    </tbody>
  </table>
  <% if (shown === 0) { %><p class="note">没有符合条件的运动员。</p><% } %>
  <div class="pager"><%= arenix.CommShowPage(Request, rs, "|age|") %></div>
</section>
<%
closeMeet();
pageEnd();
%>
