<%@ Language=JavaScript %>
<!--#include file="inc/meet.inc"-->
<!--#include file="inc/stage.inc"-->
<%
// The meet's home page: what, where and when, the ways in, the events with
// how far their results are, and the competition rules.
arenix.CommCheckInject(Request, Response);
openMeet();

// Entrants per event.
var entrants = {};
eachRow("Select 参赛项目, Count(*) As n From Play Where Empty(参赛子项目) Group By 参赛项目", function (row) {
  entrants[row("参赛项目")] = row("n");
});
function stageKey(item, age, sex, sub, stage) {
  return [item, age, item.indexOf("混") >= 0 ? "" : sex === true ? "男" : "女", sub, stage].join("|");
}
// A value as a row reader gives it: texts trimmed.
function trimmed(v) { return typeof v === "string" ? v.trim() : v; }

// Stages per event and those entered. A stage counts as entered only when
// every one of its heats is: a save of heat 1 marks the stage in PlaySour
// while heat 2 may still be waiting. The walks are written out here, so
// that what each row reads is this function's own variables, not a
// callback's closure.
function stageProgress() {
  var total = {}, done = {}, schedule = [], marked = [], open = {}, r, s, n, k, heats, heat, moveNext;
  // The schedule in one walk: its stages, and the stage numbers marked as
  // entered somewhere.
  r = query("Select 参赛项目, 年龄组, 性别, 参赛子项目, 赛次名称, 比赛状态 From PlaySour");
  moveNext = r.MoveNext;
  while (!r.EOF) {
    s = { item: trimmed(r("参赛项目")), age: trimmed(r("年龄组")), sex: trimmed(r("性别")), sub: trimmed(r("参赛子项目")),
          stage: trimmed(r("赛次名称")), done: trimmed(r("比赛状态")) === true };
    schedule.push(s);
    if (s.done) {
      n = stageNames.indexOf(s.stage);
      if (n > 0 && marked.indexOf(n) < 0) marked.push(n);
    }
    moveNext();
  }
  r.Close();
  // A heat is open while none of its entrants has a mark or a check-in: the
  // statement gives each heat's largest, per group as stored (a mixed
  // event's heat may come as a men's and a women's row, merged by its key).
  for (k = 0; k < marked.length; k++) {
    n = marked[k];
    heats = {};
    r = query("Select 参赛项目, 年龄组, 性别, 参赛子项目, " + stageValue(n, "比赛组次") + " As zc, Max(Len(AllTrim(" +
              stageValue(n, "比赛成绩") + "))+Len(AllTrim(" + stageValue(n, "比赛检录") + "))) As r From Play Where " +
              stageValue(n, "比赛组次") + ">0 Group By 参赛项目, 年龄组, 性别, 参赛子项目, zc");
    moveNext = r.MoveNext;
    while (!r.EOF) {
      heat = stageKey(trimmed(r("参赛项目")), trimmed(r("年龄组")), trimmed(r("性别")), trimmed(r("参赛子项目")),
                      stageNames[n]) + "|" + trimmed(r("zc"));
      heats[heat] = heats[heat] || trimmed(r("r")) > 0;
      moveNext();
    }
    r.Close();
    for (heat in heats) if (!heats[heat]) open[heat.substring(0, heat.lastIndexOf("|"))] = true;
  }
  for (k = 0; k < schedule.length; k++) {
    s = schedule[k];
    total[s.item] = (total[s.item] || 0) + 1;
    if (s.done && !open[stageKey(s.item, s.age, s.sex, s.sub, s.stage)]) done[s.item] = (done[s.item] || 0) + 1;
  }
  return { total: total, done: done };
}
var progress = stageProgress(), stages = progress.total, stagesDone = progress.done;

// The organiser's notices, newest first (a meet folder without the desk's
// tables has none).
var notices = [];
try {
  eachRow("Select 标题, 内容, 时间 From Notice Order By 时间 Desc", function (row) {
    notices.push({ title: row("标题"), text: row("内容"), time: row("时间") });
  });
} catch (e) {}

// The events, for their count and their rows.
var items = [];
eachRow("Select 参赛项目, 径赛田赛, 限报人数, 团体人数 From Item", function (row) {
  items.push({ 参赛项目: row("参赛项目"), 径赛田赛: row("径赛田赛"), 限报人数: row("限报人数"), 团体人数: row("团体人数") });
});

// The same page for every visitor without a session, until the meet changes.
Response.CacheControl = "public";
pageTop("首页", "index.asp");
%>
<% if (notices.length) { %>
<section class="panel" id="notices">
  <h2>通知公告</h2>
<% for (var k = 0; k < notices.length; k++) { %>
  <div class="notice"><h3><%= h(notices[k].title) %> <small class="note"><%= h(notices[k].time.substring(0, 10)) %></small></h3><p><%= h(notices[k].text) %></p></div>
<% } %>
</section>
<% } %>
<section class="panel">
  <h2>欢迎参加<%= h(meet.运动会名称) %></h2>
  <dl class="facts">
    <dt>比赛时间</dt><dd><%= h(meet.开始日期) %> 至 <%= h(meet.结束日期) %></dd>
    <dt>比赛地点</dt><dd><%= h(meet.比赛地点) %></dd>
    <dt>主办单位</dt><dd><%= h(meet.主办单位) %></dd>
    <dt>承办单位</dt><dd><%= h(meet.承办单位) %></dd>
    <dt>网络报名</dt><dd><%= meet.网络报名 ? "开放中" : "已关闭" %></dd>
  </dl>
</section>

<div class="grid" style="margin-bottom:20px">
  <a class="tile" href="register.asp"><strong>网络报名</strong><span>代表队填写运动员、身份证号与参赛项目</span></a>
  <a class="tile" href="entrants.asp"><strong>参赛名单</strong><span>按代表队、项目查询全部参赛运动员</span></a>
  <a class="tile" href="results.asp"><strong>成绩查询</strong><span>各项目各赛次成绩与名次，可导出表格</span></a>
  <a class="tile" href="entry.asp"><strong>成绩录入</strong><span>记录员登录后在场边录入成绩</span></a>
</div>

<section class="panel">
  <h2>比赛项目<small>共 <%= items.length %> 项</small></h2>
  <p class="live-stamp no-print" hidden></p>
  <div id="live-list" data-live-part data-live-topic="home" data-live-root="<%= siteRoot() %>"
       data-live-src="index.asp" data-rendered="<%= new Date().getTime() %>">
  <table class="list progress">
    <thead><tr><th>项目</th><th>类别</th><th>每队限报</th><th class="num">参赛人次</th><th>成绩进度</th><th></th></tr></thead>
    <tbody>
<%
for (var k = 0; k < items.length; k++) {
  var row = items[k], e = row.参赛项目, total = stages[e] || 0, done = stagesDone[e] || 0;
%>
      <tr><td><%= h(e) %></td><td><%= h(row.径赛田赛) %></td><td><%= h(row.限报人数) %><% if (row.团体人数 > 1) { %>（每队 <%= h(row.团体人数) %> 人）<% } else { %> 人<% } %></td><td class="num"><%= entrants[e] || 0 %></td>
        <td><% if (total === 0) { %><span class="badge todo">未编排</span><% } else if (done === total) { %><span class="badge done">已全部录入</span><% } else { %><span class="badge todo">已录 <%= done %> / <%= total %> 组别赛次</span><% } %></td>
        <td><a href="results.asp?item=<%= u(e) %>">查看成绩</a></td></tr>
<% } %>
    </tbody>
  </table>
  </div>
</section>

<section class="panel">
  <h2>竞赛规程</h2>
  <pre class="rules"><%= h(meet.竞赛规程) %></pre>
</section>
<%
closeMeet();
pageEnd();
%>
