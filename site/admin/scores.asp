<%@ Language=JavaScript %>
<!--#include file="../inc/meet.inc"-->
<!--#include file="../inc/stage.inc"-->
<!--#include file="../inc/desk.inc"-->
<%
// Team scores and the medal table of one age group, from the finals'
// places and points (the final's stage field: place and 比赛得分), as
// tables and as a column chart of the team totals (an image drawn by the
// component's chart method). Delegations out of competition are listed
// apart and not ranked.
arenix.CommCheckInject(Request, Response);
openMeet();
var me = requireOrganiser();
var ages = [];
eachRow("Select 年龄组 From Age", function (row) { ages.push(row("年龄组")); });
var age = param("age");
if (ages.indexOf(age) < 0) age = ages.length ? ages[0] : "";

var teams = {}, order = [];
function teamOf(name, out) {
  if (!teams[name]) { teams[name] = { name: name, out: out, men: 0, women: 0, total: 0, medals: [0, 0, 0], scored: 0 }; order.push(name); }
  return teams[name];
}
eachRow("Select 代表队 From team Where AllTrim(年龄组)==" + sq(age), function (row) { teamOf(row("代表队"), false); });
eachRow("Select 代表队, 性别, 编外队, 编外队员, " + stageValue(4, "比赛得分") + " As pts, " + stageValue(4, "比赛名次") + " As place " +
        "From Play Where Empty(参赛子项目) And AllTrim(年龄组)==" + sq(age), function (row) {
  var t = teamOf(row("代表队"), row("编外队") === true);
  if (row("编外队") === true) t.out = true;
  if (row("编外队员") === true) return;
  var pts = Number(row("pts")) || 0, place = Number(row("place")) || 0;
  if (row("性别") === true) t.men += pts; else t.women += pts;
  t.total += pts;
  if (pts > 0) t.scored++;
  if (place >= 1 && place <= 3) t.medals[place - 1]++;
});
function round1(x) { return Math.round(x * 10) / 10; }
var ranked = [], apart = [];
for (var i = 0; i < order.length; i++) (teams[order[i]].out ? apart : ranked).push(teams[order[i]]);
ranked.sort(function (a, b) { return b.total - a.total || b.medals[0] - a.medals[0] || (a.name < b.name ? -1 : 1); });
var medals = ranked.slice().sort(function (a, b) {
  return b.medals[0] - a.medals[0] || b.medals[1] - a.medals[1] || b.medals[2] - a.medals[2] || (a.name < b.name ? -1 : 1);
});

// The chart image: team totals as columns (tab-separated lists). It is
// drawn once per set of totals: the file name carries a checksum of them.
var chartFile = "", ageIndex = ages.indexOf(age) + 1;
if (ranked.length) {
  var cats = [], vals = [];
  for (var i = 0; i < ranked.length; i++) { cats.push(ranked[i].name); vals.push(round1(ranked[i].total)); }
  var data = cats.join("\t") + "|" + vals.join("\t"), sum = 0;
  for (var i = 0; i < data.length; i++) sum = (sum * 31 + data.charCodeAt(i)) % 2147483647;
  var file = "score-" + ageIndex + "-" + sum.toString(36) + ".png", full = Server.MapPath("/comm/chart/" + file);
  var ready = arenix.CommFileExist(full) ||
              arenix.CommGraphiWithOwc(cats.join("\t"), vals.join("\t"), "团体总分", 0, age + "团体总分", 0, "png", 760, 360, full) == 0;
  if (ready) chartFile = file;
}

deskTop("团体总分", "admin/scores.asp");
%>
<section class="panel">
  <h2>团体总分与奖牌榜</h2>
  <form method="get" action="scores.asp" class="form-row">
    <label>年龄组</label>
    <select name="age" class="inputselect" onchange="this.form.submit()">
      <% options(ages, age); %>
    </select>
    <input type="submit" value="查 看" class="button secondary">
  </form>
  <h3><%= h(age) %>团体总分</h3>
  <table class="list" id="scores">
    <thead><tr><th>名次</th><th>代表队</th><th class="num">男子</th><th class="num">女子</th><th class="num">总分</th><th class="num">得分人次</th></tr></thead>
    <tbody>
<%
var rank = 0;
for (var i = 0; i < ranked.length; i++) {
  var t = ranked[i];
  if (i === 0 || ranked[i - 1].total !== t.total) rank = i + 1;  // equal totals share a place
%>
      <%= arenix.CommShowGridTr(i + 1) %><td><%= rank %></td><td><%= h(t.name) %></td><td class="num"><%= round1(t.men) %></td><td class="num"><%= round1(t.women) %></td><td class="num"><b><%= round1(t.total) %></b></td><td class="num"><%= t.scored %></td></tr>
<% } %>
<% for (var i = 0; i < apart.length; i++) { var t = apart[i]; %>
      <tr><td>编外</td><td><%= h(t.name) %></td><td class="num"><%= round1(t.men) %></td><td class="num"><%= round1(t.women) %></td><td class="num"><%= round1(t.total) %></td><td class="num"><%= t.scored %></td></tr>
<% } %>
<% if (order.length === 0) { %><%= arenix.CommShowNoRecord(6) %><% } %>
    </tbody>
  </table>
  <div class="chart-box"><% if (chartFile) { %><img id="score-chart" src="../comm/chart/<%= h(chartFile) %>" alt="<%= h(age) %>团体总分图" width="760" height="360"><% } %></div>
<% // The same totals as the component's vector chart, drawn by the browser
   // as SVG, in a frame of its own (the chart is placed in page coordinates). %>
  <div class="chart-box"><% if (ranked.length) { %><iframe id="score-vector" src="chart.asp?age=<%= u(age) %>" width="780" height="320" style="border:0" title="<%= h(age) %>团体总分矢量图"></iframe><% } %></div>
  <h3><%= h(age) %>奖牌榜</h3>
  <table class="list" id="medals">
    <thead><tr><th>名次</th><th>代表队</th><th class="num">金牌</th><th class="num">银牌</th><th class="num">铜牌</th><th class="num">合计</th></tr></thead>
    <tbody>
<% for (var i = 0; i < medals.length; i++) { var m = medals[i].medals; %>
      <%= arenix.CommShowGridTr(i + 1) %><td><%= i + 1 %></td><td><%= h(medals[i].name) %></td><td class="num"><%= m[0] %></td><td class="num"><%= m[1] %></td><td class="num"><%= m[2] %></td><td class="num"><%= m[0] + m[1] + m[2] %></td></tr>
<% } %>
    </tbody>
  </table>
</section>
<%
closeMeet();
pageEnd();
%>
