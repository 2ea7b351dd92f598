#include "arenix/script/page_widgets.h"

#include "arenix/page/encode.h"
#include "arenix/script/one_line.h"
#include "automation/coerce.h"

namespace arenix::script {

// The page's own statements run after the clock is written; they are the
// page's script and go in as given, between statement ends.
Text ScriptShowDateAndTime(TextView other_show) {
  const Text head = OneLine(uR"JS(
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
)JS");
  return u"<script language=\"JavaScript\">" + head + Text(other_show) +
         u";setTimeout(ShowDateAndTimeScript, 1000);}</script>";
}

// The bar grows by a fortieth of what is left, so it slows down as it nears
// the end and never claims to be done.
Text ScriptShowProcessBar() {
  return u"<div id=\"waiting\" style=\"position:absolute;left:0px;top:0px;width:300px;"
         u"visibility:hidden;z-index:1000;padding:8px 0px;color:#000000;background-color:#e0e0e0;"
         u"border:1px solid #a0a0a0;font-size:12px;text-align:center\">系统正在处理中..."
         u"<div id=\"sbar\" style=\"height:10px;width:0px;margin-top:6px;font-size:1px;"
         u"background-color:#6699cc\"></div></div>" +
         ScriptElement(uR"JS(
var bwidth = 0;
var orvelBarTimer = null;
function OrvelGrowProcessBar() {
  var box = document.getElementById("waiting");
  var full = box.clientWidth;
  if (bwidth < full * 0.98) {
    bwidth = Math.min(full * 0.98, bwidth + (full - bwidth) * 0.025);
    document.getElementById("sbar").style.width = bwidth + "px";
  }
}
function CheckIsProcessBar(obj) {
  return !(obj.getAttribute && obj.getAttribute("IsShowProcessBar") == "True");
}
function CheckClick(e) {
  e = e || window.event;
  var box = document.getElementById("waiting");
  if (box.style.visibility == "visible") {
    box.style.visibility = "hidden";
  }
  var obj = e.target || e.srcElement;
  while (obj && obj.nodeType == 1 && CheckIsProcessBar(obj)) {
    obj = obj.parentNode;
  }
  if (!obj || obj.nodeType != 1) {
    return true;
  }
  var scrollX = window.pageXOffset || document.documentElement.scrollLeft || 0;
  var scrollY = window.pageYOffset || document.documentElement.scrollTop || 0;
  var viewWidth = window.innerWidth || document.documentElement.clientWidth;
  var viewHeight = window.innerHeight || document.documentElement.clientHeight;
  box.style.left = Math.max(0, scrollX + (viewWidth - box.offsetWidth) / 2) + "px";
  box.style.top = Math.max(0, scrollY + (viewHeight - box.offsetHeight) / 2) + "px";
  box.style.visibility = "visible";
  if (!orvelBarTimer) {
    orvelBarTimer = setInterval(OrvelGrowProcessBar, 150);
  }
  return true;
}
document.addEventListener("click", CheckClick);
)JS");
}

Text AjaxLoader(bool post) {
  const Text open = post ? Text(uR"JS(
function ShowAjax(p_ObjectID, p_Url, p_PostStr) {
  var request = OrvelAjaxRequest(p_ObjectID);
  request.open("POST", p_Url, true);
  request.setRequestHeader("Cache-Control", "no-cache");
  request.setRequestHeader("Content-Type", "application/x-www-form-urlencoded;");
  request.send(p_PostStr);
}
)JS")
                         : Text(uR"JS(
function ShowAjax(p_ObjectID, p_Url) {
  var request = OrvelAjaxRequest(p_ObjectID);
  request.open("GET", p_Url, true);
  request.send(null);
}
)JS");
  return ScriptElement(uR"JS(
function OrvelAjaxRequest(p_ObjectID) {
  var request = window.XMLHttpRequest ? new XMLHttpRequest() : new ActiveXObject("Microsoft.XMLHTTP");
  request.onreadystatechange = function () {
    if (request.readyState == 4 && request.status == 200) {
      var target = document.getElementById(p_ObjectID);
      if (target) {
        target.innerHTML = request.responseText;
      }
    }
  };
  return request;
}
)JS" + open);
}

// The tip sits right above the pointer; it lets the pointer through, so
// that it never takes the mouse from the element that asked for it.
Text ScriptShowToolTipText() {
  return u"<div id=\"dek\" class=\"dek\" style=\"position:absolute;visibility:hidden;z-index:200;pointer-events:none\"></div>" +
         ScriptElement(uR"JS(
var orvelTipShown = false;
function popwish(wish) {
  var image = "../comm/image/Orvel_TipText_";
  var dek = document.getElementById("dek");
  dek.innerHTML = "<table border=\"0\" cellpadding=\"0\" cellspacing=\"0\" width=\"200\">" +
    "<tr><td><img src=\"" + image + "LeftTop.asp\"></td><td style=\"background-image:url(" + image + "Top.asp)\"></td><td><img src=\"" + image + "RightTop.asp\"></td></tr>" +
    "<tr><td style=\"background-image:url(" + image + "Left.asp)\"></td><td bgcolor=\"#ffffff\" width=\"100%\"><font color=\"red\">" + wish + "</font></td><td style=\"background-image:url(" + image + "Right.asp)\"></td></tr>" +
    "<tr><td><img src=\"" + image + "LeftBottom.asp\"></td><td style=\"background-image:url(" + image + "Bottom.asp)\"><img src=\"" + image + "LeftBottom2.asp\"></td><td><img src=\"" + image + "RightBottom.asp\"></td></tr>" +
    "</table>";
  dek.style.visibility = "visible";
  orvelTipShown = true;
}
function get_mouse(e) {
  e = e || window.event;
  var dek = document.getElementById("dek");
  if (!dek || !orvelTipShown) {
    return;
  }
  var x = e.pageX != null ? e.pageX : e.clientX + document.documentElement.scrollLeft;
  var y = e.pageY != null ? e.pageY : e.clientY + document.documentElement.scrollTop;
  dek.style.left = x + "px";
  dek.style.top = (y - dek.offsetHeight) + "px";
}
function kill() {
  var dek = document.getElementById("dek");
  if (dek) {
    dek.style.visibility = "hidden";
  }
  orvelTipShown = false;
}
document.onmousemove = get_mouse;
)JS");
}

Text ScriptScrollWindow() {
  return ScriptElement(uR"JS(
var timer = null;
function OrvelScrollTop() {
  return window.pageYOffset || document.documentElement.scrollTop || document.body.scrollTop || 0;
}
function OrvelScriptScrollWindow() {
  var before = OrvelScrollTop();
  window.scrollBy(0, 1);
  if (OrvelScrollTop() == before) {
    sc();
  }
}
function initialize() {
  if (!timer) {
    timer = setInterval(OrvelScriptScrollWindow, 1);
  }
}
function sc() {
  if (timer) {
    clearInterval(timer);
  }
  timer = null;
}
document.addEventListener("dblclick", initialize);
document.addEventListener("mousedown", sc);
)JS");
}

namespace {
constexpr char16_t kGoTopImage[] = u"../comm/image/orvel_gotop.asp";
}

Text ScriptScrollWindowFollow(const automation::Variant& left) {
  return u"<style type=\"text/css\">#master{position:absolute;left:" +
         page::HtmlEscape(automation::CStr(left)) +
         u"px;top:0px;z-index:999}</style>"
         u"<table id=\"master\" border=\"0\" cellpadding=\"0\" cellspacing=\"0\"><tr><td>"
         u"<a href=\"#\" title=\"返回顶部\"><img src=\"" + Text(kGoTopImage) +
         u"\" id=\"menu\" name=\"menutop\" border=\"0\"></a></td></tr></table>" +
         ScriptElement(uR"JS(
var master = document.getElementById("master");
function FixY() {
  var top = window.pageYOffset || document.documentElement.scrollTop || document.body.scrollTop || 0;
  master.style.top = (top + 10) + "px";
}
setInterval(FixY, 100);
)JS");
}

Text ShowScrollWindowTitle(TextView font_color) {
  return u"&nbsp;&nbsp;&nbsp;&nbsp;<font color=\"" + page::HtmlEscape(font_color) +
         u"\">（双击自动向上滚动，单击停止，点击<img src=\"" + Text(kGoTopImage) +
         u"\" border=\"0\">回至顶部）</font>";
}

// Addresses and titles of pictures are kept in a list and the viewer is
// opened by index, so no quote in them can end the click handler.
Text ScriptImage() {
  return ScriptElement(uR"JS(
var flag = true;
function DownImage(ImgD) {
  var image = new Image();
  image.src = ImgD.src;
  if (image.width > 0 && image.height > 0) {
    flag = true;
    if (image.width > 500) {
      ImgD.width = 500;
      ImgD.height = Math.round(image.height * 500 / image.width);
    } else {
      ImgD.width = image.width;
      ImgD.height = image.height;
    }
  }
}
)JS") + ScriptElement(uR"JS(
function cgimg(o) {
  var e = window.event;
  var zoom = parseInt(o.style.zoom, 10) || 100;
  zoom += (e && e.wheelDelta ? e.wheelDelta : 0) / 12;
  if (zoom > 0) {
    o.style.zoom = zoom + "%";
  }
  return false;
}
var orvelPictures = [];
function OrvelAttribute(s) {
  return String(s).replace(/&/g, "&amp;").replace(/"/g, "&quot;").replace(/'/g, "&#39;").replace(/</g, "&lt;").replace(/>/g, "&gt;");
}
function OrvelOpenPicture(index) {
  var picture = orvelPictures[index];
  var viewer = window.open("../comm/orvel_FileView.asp?FileType=Image&Url=" + picture[0] + "&Title=" + picture[1], "photo_edit_windows", "width=700,height=540,resizable=yes,scrollbars=yes,status=no,toolbar=no,menubar=no,location=no");
  if (viewer) {
    viewer.focus();
  }
}
function orvel_showpic(pic_url, pic_width, pic_height, pic_width_right, pic_height_right, pic_border_width, pic_title, allow_open_windows) {
  var width = Number(pic_width);
  var height = Number(pic_height);
  if (width > pic_width_right) {
    height = height * pic_width_right / width;
    width = Number(pic_width_right);
  }
  if (height > pic_height_right) {
    width = width * pic_height_right / height;
    height = Number(pic_height_right);
  }
  var img = "<img src=\"" + OrvelAttribute(pic_url) + "\" width=\"" + Math.round(width) + "\" height=\"" + Math.round(height) + "\" border=\"" + OrvelAttribute(pic_border_width) + "\"";
  if (allow_open_windows == "no_open") {
    document.write(img + ">");
  } else {
    orvelPictures.push([pic_url, pic_title]);
    document.write(img + " title=\"按此在网络图像浏览器中查看图片\" style=\"cursor:pointer\" onclick=\"OrvelOpenPicture(" + (orvelPictures.length - 1) + ")\">");
  }
}
)JS") + ScriptElement(uR"JS(
var PhotoHeightMax, PhotoHeightMin, PhotoWidthMax, PhotoWidthMin, photo5, photo6;
function OrvelPhotoSize(form, height, width) {
  form.photohight.value = height;
  form.photowidth.value = width;
  var photo = document.getElementById("photofile") || document.images["photofile"];
  if (photo) {
    photo.height = height;
    photo.width = width;
  }
}
function dheight(form) {
  var step = Number(form.phototz.value), height = Number(form.photohight.value), width = Number(form.photowidth.value);
  if (height < PhotoHeightMax && width < PhotoWidthMax) {
    OrvelPhotoSize(form, height + step, width + parseInt(step * photo6, 10));
  }
}
function xheight(form) {
  var step = Number(form.phototz.value), height = Number(form.photohight.value), width = Number(form.photowidth.value);
  if (height > PhotoHeightMin && width > PhotoWidthMin) {
    OrvelPhotoSize(form, height - step, width - parseInt(step * photo6, 10));
  }
}
function dwidth(form) {
  var step = Number(form.phototz.value), height = Number(form.photohight.value), width = Number(form.photowidth.value);
  if (height < PhotoHeightMax && width < PhotoWidthMax) {
    OrvelPhotoSize(form, height + step * photo5, width + step);
  }
}
function xwidth(form) {
  var step = Number(form.phototz.value), height = Number(form.photohight.value), width = Number(form.photowidth.value);
  if (height > PhotoHeightMin && width > PhotoWidthMin) {
    OrvelPhotoSize(form, height - step * photo5, width - step);
  }
}
function photohy(form) {
  OrvelPhotoSize(form, form.photohight1.value, form.photowidth1.value);
}
)JS");
}

}  // namespace arenix::script
