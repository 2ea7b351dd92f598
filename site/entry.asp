<%@ Language=JavaScript %>
<!--#include file="inc/meet.inc"-->
<!--#include file="inc/stage.inc"-->
<!--#include file="inc/result_audit.inc"-->
<!--#include file="inc/timing.inc"-->
<!--#include file="inc/entry_kept.inc"-->
<%
// Online result entry: a logged-in recorder chooses one of the events the
// account may enter, the age group, sex group, sub-event and stage, types
// the results (Enter moves to the next box) and saves; the component
// ranks the stage, scores the final or seeds the next stage.
arenix.CommCheckInject(Request, Response);
openMeet();
var posting = Request.ServerVariables("REQUEST_METHOD") == "POST";
var who = recorder();
// A save whose login has expired is kept on a page with a login box; the
// login there saves the kept form.
if (who === null && posting) {
  var loginMessage = "";
  if (trim(Request.Form("relogin")) === "1") {
    arenix.CommCheckPost(Request, Response);
    loginMessage = Server.CreateObject("Arenix.Accounts").Login(Server, Request, Session, trim(Request.Form("user")),
                                                                String(Request.Form("password")));
    if (loginMessage === "") { account = undefined; who = recorder(); }
    if (loginMessage === "" && who === null) loginMessage = "该账号不是记录员账号，不能录入成绩。";
  }
  if (who === null)
    keptFormPage("登录已过期", "登录已过期，成绩尚未保存。录入的成绩都保留在本页，请重新登录，登录后即保存。", "login",
                 loginMessage);
}
who = requireRecorder();
var edition = parseInt(meet.版本, 10) || 1;
var sel = completeSelection(readSelection(), who.events);

if (posting) {
  arenix.CommCheckPost(Request, Response);
  if (who.events.indexOf(sel.item) < 0)
    arenix.CommShowErrorPage(Response, rs, conn, "您没有录入【" + h(sel.item) + "】成绩的权限！");
  if (!meet.网络登分)
    keptFormPage("成绩录入已关闭", "网络登分已关闭，成绩未保存。录入的成绩列在下面，请交组委会录入。", "none");
  // A correction of a round whose next round has results is saved only
  // once the recorder has confirmed it.
  var nextDone = nextStageEntered(sel);
  if (nextDone !== "" && trim(Request.Form("confirm_next")) !== "1")
    keptFormPage("请确认修改", nextDone + "已有成绩。修改" + stageNames[sel.sc] + "成绩会重新编排" + nextDone +
                 "：仍晋级运动员的" + nextDone + "成绩保留，不再晋级运动员的" + nextDone + "成绩将被移除。", "confirm");
  // The save and its audit entry are one unit of writes: both or neither.
  conn.value.BeginTrans();
  var before = stageMarks(sel), notice = "";
  try {
    // The save works on the stage's working columns: they are read afresh
    // from the stage field inside the unit, since another page may have
    // unpacked another stage of the event since this form was shown.
    arenix.CommBsxxFenjie(conn, entryFilter(sel), sel.sc, edition);
    applyTimingFile(sel, edition);
    notice = saveResults();
  } catch (e) {
    // A refused save (a bad mark, a sex group the event does not have)
    // stored nothing: the recorder is told what to correct.
    if (e.number !== 5) throw e;
    conn.value.RollbackTrans();
    arenix.CommShowErrorPage(Response, rs, conn, h(e.description));
  }
  Session.$put("", "ARENIX_ENTRY_NOTICE", notice);
  audit("成绩保存", stageLabel(sel), "", before, stageMarks(sel));
  conn.value.CommitTrans();
  closeMeet();
  Response.Redirect("entry.asp?" + selectionQuery(sel) + "&saved=1");
}

pageTop("成绩录入", "entry.asp");
var allowed = who.events.indexOf(sel.item) >= 0;
var filter = entryFilter(sel);
// The stage is unpacked and listed in one unit under the meet's write lock:
// no save comes in between, so the list shows the stage as unpacked.
var unpacking = false;
function unpacked() { if (unpacking) { unpacking = false; conn.value.CommitTrans(); } }
if (allowed) {
  conn.value.BeginTrans();
  unpacking = true;
  arenix.CommBsxxFenjie(conn, filter, sel.sc, edition);
}
var heats = 0, first = null;
if (allowed) eachRow("Select 比赛组次, 自定义格式, 径赛田赛, 集体项目, 分道 From Play Where " + filter + " And 比赛组次>0", function (row) {
  if (row("比赛组次") > heats) heats = row("比赛组次");
  if (first === null) first = { zdygs: row("自定义格式"), tsjs: row("径赛田赛"), jtxm: row("集体项目"), jsfd: row("分道") };
});
// The stage's rows are read here, before the selectors and the page are
// made, so that the meet's write lock is held for the unpacking and the
// reading only: views and saves of the meet wait for each other that much
// less.
var listing = null;
if (first !== null)
  listing = new Ref(query("Select * From Play Where " + filter + " And 比赛组次>0" +
                          (sel.zc > 0 ? " And 比赛组次=" + sel.zc : "") + " Order By 比赛组次, 比赛道次, 编号"));
unpacked();
%>
<section class="panel">
  <h2>成绩录入<small><%= h(who.name) %> · 可录项目：<%= h(who.events.join("、")) %></small></h2>
  <% if (param("saved") === "1") { %><div class="msg ok">成绩已保存，名次已排定。</div><%
       var notice = String(Session("ARENIX_ENTRY_NOTICE") || "");
       Session.$put("", "ARENIX_ENTRY_NOTICE", "");
       if (notice !== "") { %><div class="msg warn"><%= h(notice) %></div><% } } %>
  <form name="sele" method="get" action="entry.asp" class="selectors">
    <%= arenix.CommShowTitleSub_AgeItem(Request, Session, conn, rs, "Age", "年龄组", 0) %>
    <%= arenix.CommShowTitleSub_AgeItem(Request, Session, conn, rs, "Item", "参赛项目", 1, "ajax") %>
    <span id="itemsum_select"><% subEventSelect(sel.item, sel.item_sub); %></span>
    <% sexSelect(sel); %>
    <% stageSelect(sel); %>
    <%= arenix.CommShowTitleSub_Zc(String(sel.zc), heats) %>
    <input type="submit" value="查 询" class="button secondary">
  </form>
  <% timingPanel(); %>
  <% selectorScript(); %>
<% if (!allowed) { %>
  <div class="msg warn">请选择您可以录入的项目。</div>
<% } else if (!sel.stages.length) { %>
  <div class="msg warn" id="no-stages"><%= h(sel.age + " " + groupName(sel) + " " + sel.item) %>尚未编排赛次。</div>
<% } else if (first === null) { %>
  <div class="msg warn"><%= h(sel.age + " " + groupName(sel) + " " + sel.item + " " + stageNames[sel.sc]) %>尚无编排的运动员。</div>
<% } else if (!meet.网络登分) { listing.value.Close(); %>
  <div class="msg warn" id="entry-closed">成绩录入已关闭（网络登分未开放），现在不能录入成绩。开放后再来录入，或把成绩交组委会。</div>
<% } else {
  var list = "";
  var nextDone = nextStageEntered(sel);
%>
  <p class="note"><%= h(sel.age + " · " + groupName(sel) + " · " + sel.item + (sel.item_sub ? " · " + sel.item_sub : "") + " · " + stageNames[sel.sc]) %>
    <% if (sel.done[sel.sc]) { %><span class="badge done">已录入</span><% } else { %><span class="badge todo">未录入</span><% } %>
    　输入成绩后按 Enter 跳到下一格，Ctrl+Enter 保存。</p>
<% if (nextDone !== "") { %>
  <div class="msg warn" id="next-entered"><%= h(nextDone) %>已有成绩。修改本赛次成绩会重新编排<%= h(nextDone) %>：仍晋级运动员的<%= h(nextDone) %>成绩保留，不再晋级运动员的<%= h(nextDone) %>成绩将被移除。保存前请勾选确认。</div>
<% } %>
  <form name="myform" method="post" action="entry.asp"<% if (nextDone !== "") { %> onsubmit="if (!this.confirm_next.checked) { if (!window.confirm('<%= h(nextDone) %>已有成绩，确认修改并重新编排？')) return false; this.confirm_next.checked = true; } return true;"<% } %>>
    <input type="hidden" name="age" value="<%= h(sel.age) %>">
    <input type="hidden" name="sex" value="<%= h(sel.sex) %>">
    <input type="hidden" name="item" value="<%= h(sel.item) %>">
    <input type="hidden" name="item_sub" value="<%= h(sel.item_sub) %>">
    <input type="hidden" name="zdygs" value="<%= h(first.zdygs) %>">
    <input type="hidden" name="TsJs" value="<%= h(first.tsjs) %>">
    <input type="hidden" name="Jtxm" value="<%= first.jtxm ? "True" : "False" %>">
    <input type="hidden" name="JsFd" value="<%= first.jsfd ? "True" : "False" %>">
    <input type="hidden" name="scs" value="<%= sel.stages.length %>">
    <input type="hidden" name="sc" value="<%= sel.sc %>">
    <input type="hidden" name="zc" value="<%= sel.zc %>">
    <input type="hidden" name="bsjg" value="0">
    <input type="hidden" name="Record" value="">
    <table class="list entry">
      <thead><tr><th>编号</th><th>姓名</th><th>代表队</th><th>组次</th><th>道次</th><th>成绩</th><th>名次</th><th>组名次</th></tr></thead>
      <tbody>
<%
  eachRecord(listing.value, function (row, i) {
    list += "|" + row("编号");
    %><%= arenix.CommShowListSub(listing, edition, 0, i + 1, sel.sc, 0, 0, 0, 1, 1) %><%
  });
  listing.value.Close();
%>
      </tbody>
    </table>
    <input type="hidden" name="ydy_bh_list" value="<%= h(list) %>">
<% if (nextDone !== "") { %>
    <div class="form-row"><label><input type="checkbox" name="confirm_next" value="1" id="confirm-next"> 我已知晓<%= h(nextDone) %>已有成绩，确认修改</label></div>
<% } %>
    <div class="form-row" style="margin-top:14px"><input type="submit" value="保存成绩" class="button" id="save"></div>
  </form>
  <%= arenix.CommScriptOnKeyDown() %>
<% } %>
</section>
<%
closeMeet();
pageEnd();
%>
