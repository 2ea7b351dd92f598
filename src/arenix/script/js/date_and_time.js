// The live clock of CommScriptShowDateAndTime, written into the element
// "liveclock" every second. ${other_show}: the page's own statements, which run
// after the clock is written.

function ShowDateAndTimeScript() {
  var now = new Date();
  var hours = now.getHours();
  var minutes = now.getMinutes();
  var seconds = now.getSeconds();
  var days = ["日", "一", "二", "三", "四", "五", "六"];
  var part = hours < 6 ? "凌晨" : hours < 12 ? "上午" : hours < 18 ? "下午" : "晚上";
  var text = now.getFullYear() + "年" + (now.getMonth() + 1) + "月" + now.getDate() + "日" +
    "&nbsp;&nbsp;星期" + days[now.getDay()] +
    "&nbsp;&nbsp;" + hours + ":" + (minutes < 10 ? "0" : "") + minutes + ":" + (seconds < 10 ? "0" : "") + seconds +
    "(" + part + ")";
  var clock = document.getElementById("liveclock");
  if (clock) {
    clock.innerHTML = "&nbsp;&nbsp;<font color=\"blue\">" + text + "</font>";
  }
  ${other_show};setTimeout(ShowDateAndTimeScript, 1000);
}
