<%@ Language=JavaScript %>
<!--#include file="../inc/meet.inc"-->
<!--#include file="../inc/stage.inc"-->
<!--#include file="../inc/desk.inc"-->
<%
// The meet's records (table Record) per age group, and the records broken
// at this meet: every entry whose stage field marks a record broken, with
// its mark in that stage.
arenix.CommCheckInject(Request, Response);
openMeet();
var me = requireOrganiser();
var edition = parseInt(meet.版本, 10) || 1;

// Stored results are read with their blanks kept as "_" (the page's row
// reader trims texts, and a stored result is laid out by its blanks).
function mark(kind, format, stored) {
  return arenix.CommShowFormatCj_Sub(rs, edition, 1, kind, format, String(stored).replace(/_/g, " "));
}

var broken = [];
for (var i = 1; i < stageNames.length; i++) {
  var v = function (column) { return stageValue(i, column); };
  eachRow("Select 运动员, 比赛团队, 集体项目, 代表队, 年龄组, 性别, 参赛项目, 径赛田赛, 自定义格式, Strtran(" + v("比赛成绩") + "," + sq(" ") + "," + sq("_") + ") As cj, " +
          v("比赛备注") + " As bz From Play Where Empty(参赛子项目) And " + v("比赛破记录"), function (row) {
    broken.push({ stage: stageNames[i], name: row("集体项目") === true && row("比赛团队") ? row("比赛团队") : row("运动员"),
      team: row("代表队"), age: row("年龄组"), sex: row("性别") === true ? "男" : "女", item: row("参赛项目"),
      mark: mark(row("径赛田赛"), row("自定义格式"), String(row("cj"))), note: row("bz") });
  });
}

deskTop("纪录", "admin/records.asp");
%>
<section class="panel">
  <h2>本次运动会破纪录<small>共 <%= broken.length %> 项次</small></h2>
  <table class="list" id="broken">
    <thead><tr><th>年龄组</th><th>性别</th><th>项目</th><th>赛次</th><th>运动员</th><th>代表队</th><th>成绩</th><th>备注</th></tr></thead>
    <tbody>
<% for (var i = 0; i < broken.length; i++) { var b = broken[i]; %>
      <%= arenix.CommShowGridTr(i + 1) %><td><%= h(b.age) %></td><td><%= b.sex %></td><td><%= h(b.item) %></td><td><%= b.stage %></td><td><%= h(b.name) %></td><td><%= h(b.team) %></td><td><%= h(b.mark) %></td><td><%= h(b.note) %></td></tr>
<% } %>
<% if (broken.length === 0) { %><%= arenix.CommShowNoRecord(8, false, "本次运动会尚无破纪录。") %><% } %>
    </tbody>
  </table>
</section>
<section class="panel">
  <h2>大会纪录</h2>
  <table class="list" id="records">
    <thead><tr><th>年龄组</th><th>纪录组</th><th>性别</th><th>项目</th><th>成绩</th><th>运动员</th><th>代表队</th><th>时间</th><th>地点</th><th>运动会</th></tr></thead>
    <tbody>
<% var n = eachRow("Select *, Strtran(比赛成绩,' ','_') As cj From Record Order By 年龄组, 纪录组, 性别 Desc, 参赛项目", function (row, k) { %>
      <%= arenix.CommShowGridTr(k + 1) %><td><%= h(row("年龄组") || "各组") %></td><td><%= h(row("纪录组")) %></td><td><%= row("性别") === true ? "男" : "女" %></td><td><%= h(row("参赛项目")) %></td><td><%= h(mark(row("径赛田赛"), "", row("cj"))) %></td><td><%= h(row("运动员")) %></td><td><%= h(row("代表队")) %></td><td><%= h(row("时间")) %></td><td><%= h(row("地点")) %></td><td><%= h(row("运动会名称")) %></td></tr>
<% }); %>
<% if (n === 0) { %><%= arenix.CommShowNoRecord(10, false, "尚无纪录。") %><% } %>
    </tbody>
  </table>
</section>
<%
closeMeet();
pageEnd();
%>
