<%@ Language=JavaScript %>
<!--#include file="inc/meet.inc"-->
<!--#include file="inc/stage.inc"-->
<%
// The public result query: one event, age group, sex group and stage, with
// places, and the same list exported as a spreadsheet (?excel=1).
arenix.CommCheckInject(Request, Response);
openMeet();
var edition = parseInt(meet.版本, 10) || 1;
// The events are read only for a request that names none (the first is
// chosen then).
var sel = readSelection(), allEvents = [];
if (sel.item === "") eachRow("Select 参赛项目 From Item", function (row) { allEvents.push(row("参赛项目")); });
sel = completeSelection(sel, allEvents, true);
var filter = entryFilter(sel);
var heatOf = stageValue(sel.sc, "比赛组次");
var sql = "Select 编号, 运动员, 代表队, 参赛项目, 参赛子项目, 径赛田赛, 集体项目, 自定义格式, 编外队, 编外队员, " +
          arenix.CommsGetBsFenjieXxString(sel.sc) + " From Play Where " + filter + " And " + heatOf + ">0" +
          " Order By " + stageValue(sel.sc, "排序名次") + ", " + heatOf + ", " + stageValue(sel.sc, "比赛道次") + ", 编号";
var title = sel.age + groupName(sel) + sel.item + (sel.item_sub ? sel.item_sub : "") + stageTitle(sel) + "成绩";
var final = sel.sc === 4;

// The rows of each heat, as the component formats them, and whether the
// heats come in heat order (the list before results): the page then writes
// one tbody per heat, so that a printed heat is never split. The page's
// longest walk is written out here instead of through eachRecord, so that
// what it reads for every row is the function's own variables, not a
// callback's closure; the record set is new, so it holds RecordCount rows
// from its first, and the walk counts them instead of reading EOF each time.
function resultRows() {
  var heats = [], heat, lastHeat = null, inOrder = true, count = 0, rows = null;
  var showRow = arenix.CommShowWlcxItem, holder = rs, set = rs.value, ed = edition, sc = sel.sc;
  set.Open(sql, conn.value, 1, 1);
  var moveNext = set.MoveNext;
  for (var left = set.RecordCount; left > 0; left--) {
    heat = set("比赛组次");
    if (heat !== lastHeat) {
      if (lastHeat !== null && heat < lastHeat) inOrder = false;
      heats.push(rows = []);
      lastHeat = heat;
    }
    rows.push(showRow(holder, ed, ++count, 1, 1, sc, 0));
    moveNext();
  }
  set.Close();
  return { heats: heats, byHeat: inOrder && heats.length > 1, count: count };
}

// The topic of this list's live updates (see comm/orvel.js).
var liveTopic = "stage|" + sel.item + "|" + sel.age + "|" + (sel.mixed ? "混" : sel.sex) + "|" + sel.item_sub + "|" + sel.sc;

// The export is a real spreadsheet: marks as numbers (seconds, metres)
// beside the mark as shown.
if (param("excel") === "1") {
  rs.value.Open(sql, conn.value, 1, 1);
  Server.CreateObject("Arenix.ResultSheet").Send(Response, rs, title, edition, 1, sel.sc);
  closeMeet();
  Response.End();
}

// The same list for every visitor without a session, until results change.
Response.CacheControl = "public";
pageTop("成绩查询", "results.asp");
var rows = resultRows();
%>
<section class="panel" data-live-topic="<%= h(liveTopic) %>" data-live-root="<%= siteRoot() %>"
         data-live-src="results.asp?<%= selectionQuery(sel) %>" data-rendered="<%= new Date().getTime() %>">
  <h2 class="no-print">成绩查询</h2>
  <form name="sele" method="get" action="results.asp" class="selectors no-print">
    <%= arenix.CommShowTitleSub_AgeItem(Request, Session, conn, rs, "Age", "年龄组", 0) %>
    <%= arenix.CommShowTitleSub_AgeItem(Request, Session, conn, rs, "Item", "参赛项目", 0, "ajax") %>
    <span id="itemsum_select"><% subEventSelect(sel.item, sel.item_sub); %></span>
    <% sexSelect(sel); %>
    <% stageSelect(sel); %>
    <input type="submit" value="查 询" class="button secondary">
  </form>
  <% selectorScript(); %>
  <p class="live-stamp no-print" hidden></p>
  <h2 id="live-title" data-live-part><%= h(title) %>
    <small><%= sel.done[sel.sc] ? "成绩已公布" : "成绩尚未录入" %><span class="no-print"> ·
    <a href="results.asp?<%= selectionQuery(sel) %>&excel=1" id="export">导出表格</a> ·
    <a href="results.csv?<%= selectionQuery(sel) %>" id="export-csv">CSV</a> ·
    <a href="results.json?<%= selectionQuery(sel) %>" id="export-json">JSON</a> ·
    <a href="javascript:window.print()">打印</a></span></small></h2>
  <div id="live-list" data-live-part>
  <table class="list results">
    <thead><tr><th>编号</th><th>姓名</th><th>代表队</th><th>组次</th><th>道次</th><th>成绩</th><th>名次</th><th>破纪录</th><% if (final) { %><th>得分</th><% } %></tr></thead>
<% if (rows.byHeat) { for (var i = 0; i < rows.heats.length; i++) { %>
    <tbody class="heat"><%= rows.heats[i].join("") %></tbody>
<% } } else { %>
    <tbody><% for (var i = 0; i < rows.heats.length; i++) { %><%= rows.heats[i].join("") %><% } %></tbody>
<% } %>
  </table>
  <% if (!sel.stages.length) { %><p class="note" id="no-stages">该项目的<%= h(groupName(sel)) %>尚未编排赛次。</p><%
     } else if (rows.count === 0) { %><p class="note">该组别、赛次没有参赛运动员。</p><% } %>
  </div>
</section>
<%
closeMeet();
pageEnd();
%>
