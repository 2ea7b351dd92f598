#include "arenix/script/page_widgets.h"

#include "arenix/page/encode.h"
#include "arenix/script/js_sources.h"
#include "arenix/script/one_line.h"
#include "arenix/script/script_template.h"
#include "automation/coerce.h"

namespace arenix::script {

// The page's own statements run after the clock is written; they are the
// page's script and go in as given, between statement ends, after the clock
// is put on one line (their own line breaks stay).
Text ScriptShowDateAndTime(TextView other_show) {
  return u"<script language=\"JavaScript\">" + FillIn(OneLine(js::kDateAndTime), {{u"other_show", other_show}}) +
         u"</script>";
}

Text ScriptShowProcessBar() {
  return u"<div id=\"waiting\" style=\"position:absolute;left:0px;top:0px;width:300px;"
         u"visibility:hidden;z-index:1000;padding:8px 0px;color:#000000;background-color:#e0e0e0;"
         u"border:1px solid #a0a0a0;font-size:12px;text-align:center\">系统正在处理中..."
         u"<div id=\"sbar\" style=\"height:10px;width:0px;margin-top:6px;font-size:1px;"
         u"background-color:#6699cc\"></div></div>" +
         ScriptElement(js::kProcessBar);
}

Text AjaxLoader(bool post) {
  return ScriptElement(Text(js::kAjaxRequest) + (post ? js::kAjaxPost : js::kAjaxGet));
}

Text ScriptShowToolTipText() {
  return u"<div id=\"dek\" class=\"dek\" style=\"position:absolute;visibility:hidden;z-index:200;pointer-events:none\"></div>" +
         ScriptElement(js::kToolTip);
}

Text ScriptScrollWindow() {
  return ScriptElement(js::kScrollWindow);
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
         ScriptElement(js::kScrollFollow);
}

Text ShowScrollWindowTitle(TextView font_color) {
  return u"&nbsp;&nbsp;&nbsp;&nbsp;<font color=\"" + page::HtmlEscape(font_color) +
         u"\">（双击自动向上滚动，单击停止，点击<img src=\"" + Text(kGoTopImage) +
         u"\" border=\"0\">回至顶部）</font>";
}

Text ScriptImage() {
  return ScriptElement(js::kImageResize) + ScriptElement(js::kImageViewer) + ScriptElement(js::kPhotoSize);
}

}  // namespace arenix::script
