<%@ Language=JavaScript %>
<!--#include file="../inc/meet.inc"-->
<!--#include file="../inc/stage.inc"-->
<%
// The team totals of one age group as the component's vector chart, in a
// page of its own (the chart is placed in page coordinates), drawn by the
// browser as SVG (comm/orvel_chart_svg.js). The scores page shows it in a
// frame.
arenix.CommCheckInject(Request, Response);
openMeet();
var me = requireRole([ROLE_ORGANISER]);
var age = param("age");
var totals = {}, order = [];
eachRow("Select 代表队 From team Where AllTrim(年龄组)==" + sq(age), function (row) { order.push(row("代表队")); totals[row("代表队")] = 0; });
eachRow("Select 代表队, 编外队, 编外队员, " + stageValue(4, "比赛得分") + " As pts From Play Where Empty(参赛子项目) And AllTrim(年龄组)==" +
        sq(age), function (row) {
  if (row("编外队") === true) { delete totals[row("代表队")]; totals["#" + row("代表队")] = true; return; }
  if (row("编外队员") !== true && typeof totals[row("代表队")] === "number") totals[row("代表队")] += Number(row("pts")) || 0;
});
var table = [["", 0, ""]];
for (var i = 0; i < order.length; i++)
  if (typeof totals[order[i]] === "number" && !totals["#" + order[i]])
    table.push(["", Math.round(totals[order[i]] * 10) / 10, h(order[i])]);
// Equal totals in name order, as on the scores page: the engine's sort does
// not keep the order it was given, so a tie would change places on reload.
table.sort(function (a, b) {
  return a[2] === "" ? -1 : b[2] === "" ? 1 : b[1] - a[1] || (a[2] < b[2] ? -1 : a[2] > b[2] ? 1 : 0);
});
closeMeet();
%>
<%= arenix.CommTableChartHeader() %>
<% if (table.length > 1) { %><%= arenix.CommTableChart1(new Ref(table), 0, "20", 10, 36, 620, 240, "A") %><% } %>
<script src="../comm/orvel_chart_svg.js"></script></body></html>
