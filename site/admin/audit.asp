<%@ Language=JavaScript %>
<!--#include file="../inc/meet.inc"-->
<!--#include file="../inc/desk.inc"-->
<%
// The audit log: every result save, registration save and desk change, with
// who, when, the event/stage or delegation, and the values before and after.
// Newest first, 20 to a page; a keyword searches user, action, event and
// delegation, and choosing an event shows its history (a correction reads
// as the marks before and after, one save under the other).
arenix.CommCheckInject(Request, Response);
openMeet();
var me = requireOrganiser();
var keyword = param("keyword"), item = param("item");
var where = " Where .T.";
if (item !== "") where += " And At(" + sq(item) + ", 项目)>0";
if (keyword !== "")
  where += " And (" + ["用户", "动作", "项目", "代表队", "之前", "之后"].map(function (c) {
    return "At(" + sq(keyword) + ", " + c + ")>0";
  }).join(" Or ") + ")";
rs.value.Open("Select * From AuditLog" + where + " Order By 时间 Desc", conn.value, 1, 1);
rs.value.PageSize = 20;
arenix.CommShowNoPage(Request, rs);

var items = [];
eachRow("Select 参赛项目 From Item", function (row) { items.push(row("参赛项目")); });

// Writes the marks before and after, one line each, changed entries marked.
function diff(before, after) {
  before = trim(before); after = trim(after);
  if (before === "" && after === "") return;
  var b = before.split("；"), a = after.split("；"), i;
  var inBefore = {}, inAfter = {};
  for (i = 0; i < b.length; i++) inBefore[b[i]] = true;
  for (i = 0; i < a.length; i++) inAfter[a[i]] = true;
  var del = [], ins = [];
  for (i = 0; i < b.length; i++) if (b[i] !== "" && !inAfter[b[i]]) del.push(b[i]);
  for (i = 0; i < a.length; i++) if (a[i] !== "" && !inBefore[a[i]]) ins.push(a[i]);
  if (del.length === 0 && ins.length === 0) {
    %><span class="note"><%= h(after || before) %></span><%
    return;
  }
  if (del.length) {
    %>改前：<% for (i = 0; i < del.length; i++) { %><%= i ? "；" : "" %><del><%= h(del[i]) %></del><% } %><br><%
  }
  if (ins.length) {
    %>改后：<% for (i = 0; i < ins.length; i++) { %><%= i ? "；" : "" %><ins><%= h(ins[i]) %></ins><% } %><%
  }
}

deskTop("操作日志", "admin/audit.asp");
%>
<section class="panel">
  <h2>操作日志<small>共 <%= rs.value.RecordCount %> 条</small></h2>
  <form name="search" method="get" action="audit.asp" class="form-row">
    <label>项目</label>
    <select name="item" class="inputselect"><option value="">全部</option>
      <% options(items, item); %>
    </select>
    <label for="keyword">关键字</label>
    <input type="search" id="keyword" name="keyword" value="<%= h(keyword) %>" placeholder="用户、操作、代表队或成绩" class="inputtext">
    <input type="submit" value="搜 索" class="button">
  </form>
  <table class="list diff" id="audit">
    <thead><tr><th>时间</th><th>用户</th><th>操作</th><th>项目/组别</th><th>代表队</th><th>变更</th></tr></thead>
    <tbody>
<% var shown = eachPageRow(function (row, k) { %>
      <%= arenix.CommShowGridTr(k + 1, "", "#eeeeff", "#e5e5f9", "#cceecc", "left") %><td><%= h(row("时间")) %></td><td><%= h(row("用户")) %><br><span class="note"><%= h(row("角色")) %></span></td><td><%= h(row("动作")) %></td><td><%= h(row("项目")) %></td><td><%= h(row("代表队")) %></td><td><% diff(row("之前"), row("之后")); %></td></tr>
<% }); %>
<% if (shown === 0) { %><%= arenix.CommShowNoRecord(6) %><% } %>
    </tbody>
  </table>
  <div class="pager"><%= arenix.CommShowPage(Request, rs, "|item|") %></div>
</section>
<%
closeMeet();
pageEnd();
%>
