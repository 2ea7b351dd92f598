<%@ Language=JavaScript %>
<!--#include file="inc/meet.inc"-->
<%
// The photo-finish camera's results: a result file uploaded here, or picked
// from the timing folder the server watches, is matched to its event,
// stage and heat and shown to the recorder beside the start list. Nothing
// is saved here: the preview's confirm button posts the heat's entry form
// to entry.asp, whose save ranks, scores and seeds as for typed results.
// The start lists for the camera (heats and athletes) are downloaded here
// too, by recorders and by the organiser.
arenix.CommCheckInject(Request, Response);
openMeet();
var timing = Server.CreateObject("Arenix.Timing");

// The start lists are for recorders and for the organiser.
var exportKind = param("export");
if (exportKind === "evt" || exportKind === "ppl") {
  var me = currentAccount();
  if (recorder() === null && (me === null || me.role !== ROLE_ORGANISER)) { closeMeet(); Response.Redirect("login.asp"); }
  var text = timing.Export(conn, rs, exportKind);
  closeMeet();
  Response.Clear();  // the blank lines of the includes before it
  Response.ContentType = "text/plain";
  Response.AddHeader("Content-Disposition", "attachment;filename=arenix." + exportKind);
  Response.Write(text);
  Response.End();
}

var who = requireRecorder();
var preview = "";
if (Request.ServerVariables("REQUEST_METHOD") == "POST") {
  arenix.CommCheckPost(Request, Response);
  preview = timing.Preview(Request, conn, rs, who.events.join("|"));
} else if (param("file") !== "") {
  preview = timing.PreviewFile(param("file"), conn, rs, who.events.join("|"));
}

pageTop("计时导入", "entry.asp");
%>
<link rel="stylesheet" href="comm/timing.css">
<section class="panel">
  <h2>计时导入<small><%= h(who.name) %> · 可录项目：<%= h(who.events.join("、")) %></small></h2>
  <% if (!meet.网络登分) { %><div class="msg warn">网络登分已关闭，导入的成绩不能保存。</div><% } %>
  <%= preview %>
  <form method="post" action="timing.asp" enctype="multipart/form-data" class="selectors" id="timing-upload">
    计时结果文件（.lif）：<input type="file" name="lif" accept=".lif,.LIF">
    <input type="submit" value="预 览" class="button secondary">
  </form>
  <% if (timing.Watching()) { %><h3>计时文件夹</h3><%= timing.Files() %><% } %>
  <p class="note">给计时系统的检录单：<a href="timing.asp?export=evt">各组名单（.evt）</a> ·
    <a href="timing.asp?export=ppl">运动员（.ppl）</a>　·　<a href="entry.asp">返回成绩录入</a></p>
</section>
<%
closeMeet();
pageEnd();
%>
