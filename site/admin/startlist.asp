<%@ Language=JavaScript %>
<!--#include file="../inc/meet.inc"-->
<!--#include file="../inc/stage.inc"-->
<!--#include file="../inc/desk.inc"-->
<%
// Start lists per event, age group, sex and stage: the heats with lanes (or
// running order), numbers, names and delegations, from the stage's field of
// each entry. A print view prints the list alone, one heat never split over
// two pages; the same list is offered as a PDF.
arenix.CommCheckInject(Request, Response);
openMeet();
var me = requireOrganiser();

// What may be chosen: the schedule's rows.
var schedule = [];
eachRow("Select Distinct 参赛项目, 年龄组, 性别, 赛次名称 From PlaySour Where Empty(参赛子项目)", function (row) {
  schedule.push({ item: row("参赛项目"), age: row("年龄组"), male: row("性别") === true, stage: row("赛次名称") });
});
var item = param("item"), age = param("age"), sex = param("sex"), stage = param("stage");
var pick = null;
for (var i = 0; i < schedule.length && pick === null; i++) {
  var s = schedule[i];
  if (s.item === item && s.age === age && (s.item.indexOf("混") >= 0 || (s.male ? "男" : "女") === sex) && s.stage === stage) pick = s;
}
if (pick === null && schedule.length) pick = schedule[0];
var mixed = pick && pick.item.indexOf("混") >= 0;
if (pick) { item = pick.item; age = pick.age; sex = mixed ? "混" : (pick.male ? "男" : "女"); stage = pick.stage; }
var title = pick ? age + (mixed ? "混合" : sex + "子") + "组" + item + stage + "检录单" : "检录单";

// The heats: [{heat, rows: [{lane, number, name, team}]}].
var heats = [], lanes = false, byHeat = {};
var sc = stageNames.indexOf(stage);
if (pick && sc > 0) {
  var v = function (column) { return stageValue(sc, column); };
  eachRow("Select 编号, 运动员, 代表队, 比赛团队, 集体项目, 分道, " + v("比赛序号") + " As xh, " +
          v("比赛组次") + " As zc, " + v("比赛道次") + " As dc From Play Where Empty(参赛子项目)" +
          " And AllTrim(参赛项目)==" + sq(item) + " And AllTrim(年龄组)==" + sq(age) +
          (mixed ? "" : " And 性别=" + (sex === "男" ? ".T." : ".F.")) +
          " And " + v("比赛组次") + ">0", function (row) {
    var zc = row("zc");
    if (!byHeat[zc]) { byHeat[zc] = { heat: zc, rows: [] }; heats.push(byHeat[zc]); }
    if (row("分道") === true && row("dc") > 0) lanes = true;
    byHeat[zc].rows.push({ lane: row("dc") > 0 ? row("dc") : row("xh") % 100, number: row("编号"),
      name: row("集体项目") === true && row("比赛团队") !== "" ? row("比赛团队") : row("运动员"), team: row("代表队") });
  });
}
heats.sort(function (a, b) { return a.heat - b.heat; });
for (var i = 0; i < heats.length; i++) heats[i].rows.sort(function (a, b) { return a.lane - b.lane; });
var laneCaption = lanes ? "道次" : "顺序";

if (param("pdf") === "1") {
  var pdf = Server.CreateObject("Arenix.ListPdf");
  pdf.Title(meet.运动会名称 + "  " + title);
  for (var i = 0; i < heats.length; i++) {
    pdf.Block("第" + heats[i].heat + "组（共" + heats.length + "组）", laneCaption + "|编号|姓名|代表队|成绩|名次");
    for (var k = 0; k < heats[i].rows.length; k++) {
      var r = heats[i].rows[k];
      pdf.Row([r.lane, r.number, r.name, r.team, "", ""].join("|"));
    }
  }
  var bytes = pdf.Bytes();
  closeMeet();
  Response.Clear();  // the blank lines of the includes before it
  Response.ContentType = "application/pdf";
  Response.AddHeader("Content-Disposition", "attachment;filename=" + title + ".pdf");
  Response.BinaryWrite(bytes);
  Response.End();
}

// The choices of the schedule, each once, in schedule order.
var items = [], ages = [], stages = [], seen = {};
function once(list, kind, value) { if (!seen[kind + value]) { seen[kind + value] = 1; list.push(value); } }
for (var i = 0; i < schedule.length; i++) {
  once(items, "i", schedule[i].item);
  once(ages, "a", schedule[i].age);
  once(stages, "s", schedule[i].stage);
}
var listQuery = "item=" + u(item) + "&age=" + u(age) + "&sex=" + u(sex) + "&stage=" + u(stage);

deskTop("检录单", "admin/startlist.asp");
%>
<section class="panel startlist">
  <form method="get" action="startlist.asp" class="form-row no-print">
    <label>项目</label><select name="item" class="inputselect"><% options(items, item); %></select>
    <label>年龄组</label><select name="age" class="inputselect"><% options(ages, age); %></select>
    <label>性别</label><select name="sex" class="inputselect"><% options(["男", "女", "混"], sex, ["男子", "女子", "混合"]); %></select>
    <label>赛次</label><select name="stage" class="inputselect"><% options(stages, stage); %></select>
    <input type="submit" value="查 看" class="button secondary">
    <a class="button secondary" href="javascript:window.print()" id="print">打印</a>
    <a class="button secondary" href="startlist.asp?<%= listQuery %>&pdf=1" id="pdf">下载 PDF</a>
    <a class="button secondary" href="../timing.asp?export=evt" id="camera-evt" title="所有径赛项目已编排的各组，给终点摄像计时系统">计时系统 .evt</a>
    <a class="button secondary" href="../timing.asp?export=ppl" id="camera-ppl">.ppl</a>
  </form>
  <h2 id="list-title"><%= h(title) %><small>共 <%= heats.length %> 组</small></h2>
<% if (heats.length === 0) { %>
  <p class="note">该项目赛次尚未编排。</p>
<% } %>
<% for (var i = 0; i < heats.length; i++) { %>
  <div class="heat"><h3>第<%= heats[i].heat %>组</h3>
    <table class="list"><thead><tr><th><%= laneCaption %></th><th>编号</th><th>姓名</th><th>代表队</th><th>成绩</th><th>名次</th></tr></thead><tbody>
<%   for (var k = 0; k < heats[i].rows.length; k++) { var r = heats[i].rows[k]; %>
      <tr><td><%= r.lane %></td><td><%= h(r.number) %></td><td><%= h(r.name) %></td><td><%= h(r.team) %></td><td></td><td></td></tr>
<%   } %>
    </tbody></table></div>
<% } %>
</section>
<%
closeMeet();
pageEnd();
%>
