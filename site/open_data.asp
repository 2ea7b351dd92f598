<%@ Language=JavaScript %>
<!--#include file="inc/meet.inc"-->
<!--#include file="inc/stage.inc"-->
<%
// The meet's results as open data, for other programs: one result list as
// JSON (results.json?age=..&sex=..&item=..&item_sub=..&sc=..) or CSV
// (results.csv?..., UTF-8 with a byte-order mark for spreadsheets), or the
// whole meet with its records (meet.json). The JSON runs competition ->
// events -> rounds -> heats -> results. Identity numbers are never read.
// The server maps the three addresses here with format=<name> and answers
// nothing else here. Query values may be in GBK (the site's links) or
// UTF-8 (a program's): the request reader tells them apart. The answer is
// UTF-8 either way.
arenix.CommCheckInject(Request, Response);
openMeet();
var edition = parseInt(meet.版本, 10) || 1;
var format = param("format");

// A shown mark as a number: a time in seconds, a distance in metres, a
// points total, or a count with the custom format's unit.
function markValue(text) {
  var t = String(text).replace(/．/g, ".").replace(/：/g, ":").replace(/\s+/g, "");
  if (t === "") return { value: null, unit: "" };
  var m = /^(?:(\d+)’)?(\d+)”(\d*)$/.exec(t);
  if (m) return { value: round3((m[1] ? parseInt(m[1], 10) * 60 : 0) + parseInt(m[2], 10) + (m[3] ? parseFloat("0." + m[3]) : 0)), unit: "s" };
  m = /^(\d+):(\d+):(\d+(?:\.\d+)?)$/.exec(t);
  if (m) return { value: round3(parseInt(m[1], 10) * 3600 + parseInt(m[2], 10) * 60 + parseFloat(m[3])), unit: "s" };
  m = /^(\d+(?:\.\d+)?)(.*)$/.exec(t);
  if (!m) return { value: null, unit: "" };
  var unit = m[2] === "米" ? "m" : m[2] === "分" ? "points" : m[2];
  return { value: parseFloat(m[1]), unit: unit };
}
function round3(v) { return Math.round(v * 1000) / 1000; }

// One stage of one event: its heats with their results, in heat and lane
// order, each heat's results by place.
function round(s) {
  var heats = {}, order = [];
  var r = query("Select 编号, 运动员, 代表队, 性别, 年龄组, 径赛田赛, 自定义格式, 编外队, 编外队员, " +
                arenix.CommsGetBsFenjieXxString(s.sc) + " From Play Where " + entryFilter(s) + " And " +
                stageValue(s.sc, "比赛组次") + ">0 Order By " + stageValue(s.sc, "比赛组次") + ", " +
                stageValue(s.sc, "排序名次") + ", " + stageValue(s.sc, "比赛道次") + ", 编号");
  var rsRef = new Ref(r);
  eachRecord(r, function (row) {
    var heat = row("比赛组次"), shown = trim(arenix.CommShowFormatCj(rsRef, edition, 1, "比赛成绩"));
    var mark = markValue(shown);
    if (!heats[heat]) { heats[heat] = { heat: heat, results: [] }; order.push(heat); }
    heats[heat].results.push({
      place: row("比赛名次") > 0 ? row("比赛名次") : null,
      bib: row("编号"), name: row("运动员"), team: row("代表队"),
      sex: row("性别") === true ? "男" : "女", age_group: row("年龄组"),
      lane: row("比赛道次") > 0 ? row("比赛道次") : null,
      performance: shown, value: mark.value, unit: mark.unit,
      status: row("比赛检录"), wind: row("比赛风速"), points: Number(row("比赛得分")) || 0,
      record: row("比赛破记录") === true, qualified: row("比赛晋级") === true,
      out_of_competition: row("编外队") === true || row("编外队员") === true
    });
  });
  r.Close();
  var list = [];
  for (var i = 0; i < order.length; i++) list.push(heats[order[i]]);
  return { stage: s.sc, name: stageNames[s.sc], complete: s.done[s.sc] === true, heats: list };
}

function event(s) {
  return { name: s.item, sub_event: s.item_sub, age_group: s.age, sex: s.mixed ? "混" : s.sex, rounds: [] };
}

function competition() {
  return { name: meet.运动会名称, organiser: meet.主办单位, host: meet.承办单位, venue: meet.比赛地点,
           start: meet.开始日期, end: meet.结束日期 };
}

function records() {
  var list = [];
  var r = query("Select 性别, 径赛田赛, Space(20) As 自定义格式, 参赛项目, 年龄组, 纪录组, 比赛成绩, 运动员, 代表队, 时间, 地点, 运动会名称 From Record");
  var rsRef = new Ref(r);
  eachRecord(r, function (row) {
    var shown = trim(arenix.CommShowFormatCj(rsRef, edition, 1, "比赛成绩")), mark = markValue(shown);
    list.push({ event: row("参赛项目"), age_group: row("年龄组"), record_group: row("纪录组"),
                sex: row("性别") === true ? "男" : "女", performance: shown, value: mark.value, unit: mark.unit,
                name: row("运动员"), team: row("代表队"), when: row("时间"), where: row("地点"),
                meet: row("运动会名称") });
  });
  r.Close();
  return list;
}

// A CSV cell: quoted when needed; text a spreadsheet would run as a formula
// is kept as text.
function cell(v) {
  var t = v === null || v === undefined ? "" : String(v);
  if (typeof v === "string" && /^[=+\-@\t\r]/.test(t)) t = "'" + t;
  return /[",\r\n]/.test(t) ? "\"" + t.replace(/"/g, "\"\"") + "\"" : t;
}

Response.CacheControl = "public";
var out, sel = null;
if (format !== "meet.json") {
  // The events are read only for a request that names none.
  var allEvents = [];
  sel = readSelection();
  if (sel.item === "") eachRow("Select 参赛项目 From Item", function (row) { allEvents.push(row("参赛项目")); });
  sel = completeSelection(sel, allEvents, true);
}
Response.CodePage = 65001;
if (format === "meet.json") {
  var events = [], byKey = {};
  eachRow("Select 参赛项目, 参赛子项目, 年龄组, 性别, 赛次名称 From PlaySour Order By 参赛项目, 年龄组, 性别, 参赛子项目",
    function (row) {
      var sc = stageNames.indexOf(row("赛次名称"));
      if (sc <= 0) return;
      var s = { age: row("年龄组"), sex: row("性别") === true ? "男" : "女", item: row("参赛项目"), item_sub: row("参赛子项目"), sc: sc };
      s.mixed = s.item.indexOf("混") >= 0;
      var key = [s.item, s.item_sub, s.age, s.mixed ? "混" : s.sex].join("|");
      if (!byKey[key]) { byKey[key] = { sel: s, event: event(s), stages: [] }; events.push(byKey[key]); }
      if (byKey[key].stages.indexOf(sc) < 0) byKey[key].stages.push(sc);
    });
  var list = [];
  for (var i = 0; i < events.length; i++) {
    var e = events[i], st = stagesOf(e.sel);
    e.sel.done = st.done;
    e.stages.sort();
    for (var k = 0; k < e.stages.length; k++) { e.sel.sc = e.stages[k]; e.event.rounds.push(round(e.sel)); }
    list.push(e.event);
  }
  out = JSON.stringify({ competition: competition(), events: list, records: records() });
  Response.ContentType = "application/json";
} else {
  var ev = event(sel);
  ev.rounds.push(round(sel));
  if (format === "results.csv") {
    var lines = ["项目,子项目,年龄组,性别组,赛次,组次,道次,名次,编号,姓名,代表队,成绩,成绩数值,单位,状态,风速,得分,破纪录"];
    var heats = ev.rounds[0].heats;
    for (var i = 0; i < heats.length; i++)
      for (var k = 0; k < heats[i].results.length; k++) {
        var x = heats[i].results[k];
        lines.push([ev.name, ev.sub_event, ev.age_group, ev.sex, ev.rounds[0].name, heats[i].heat, x.lane, x.place,
                    x.bib, x.name, x.team, x.performance, x.value, x.unit, x.status, x.wind, x.points,
                    x.record ? "是" : ""].map(cell).join(","));
      }
    out = "\uFEFF" + lines.join("\r\n") + "\r\n";
    Response.ContentType = "text/csv";
    Response.AddHeader("Content-Disposition", "inline; filename=\"results.csv\"");
  } else {
    out = JSON.stringify({ competition: competition(), events: [ev] });
    Response.ContentType = "application/json";
  }
}
closeMeet();
Response.Clear();  // nothing before the data (the byte-order mark first)
Response.Write(out);
%>
