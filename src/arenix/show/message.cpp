#include "arenix/show/message.h"

#include "arenix/page/window_scripts.h"
#include "arenix/text/dates.h"
#include "automation/clock.h"
#include "automation/coerce.h"
#include "automation/runtime.h"
#include "host/host.h"

namespace arenix::show {

Text MessageLiteral(TextView message, char16_t quote) {
  Text out;
  out.reserve(message.size());
  bool escaped = false;  // the previous character was an unpaired backslash
  for (size_t i = 0; i < message.size(); ++i) {
    char16_t c = message[i];
    if (escaped) {
      out += c;
      escaped = false;
    } else if (c == u'\\') {
      out += c;
      escaped = true;
    } else if (c == quote) {
      out += u'\\';
      out += c;
    } else if (c == u'\r') {
      out += u"\\r";
    } else if (c == u'\n') {
      out += u"\\n";
    } else if (c == u'<' && i + 1 < message.size() && message[i + 1] == u'/') {
      out += u"<\\";  // "</script>" would end the script block
    } else {
      out += c;
    }
  }
  // A trailing lone backslash would escape the closing quote.
  if (escaped) out += u'\\';
  return out;
}

Text ShowSuccess(TextView message, TextView url) {
  Text out = u"<Script>{";
  if (!automation::Trim(message).empty()) {
    out += u"alert(\"";
    out += MessageLiteral(message, u'"');
    out += u"\");";
  }
  if (url.empty()) {
    out += u"history.go(-1);";
  } else if (automation::LCase(url) == u"close") {
    out += page::CloseWindowNoMessagebox();
  } else {
    out += u"location.href=\"";
    out += MessageLiteral(automation::Trim(url), u'"');
    out += u"\";";
  }
  out += u"}</Script>";
  return out;
}

Text ShowMessage(TextView title, TextView content, TextView url_html) {
  Text out =
      u"<table border='0' width='100%' cellspacing='1' align='center' cellpadding='1' "
      u"height='100%'><tr><td align=center valign=middle height='100%' width='100%'>"
      u"<table border='1' width='100%' cellspacing='0' cellpadding='0' bordercolor='green' "
      u"bordercolordark='#FFFFFF' height='100%'>"
      u"<tr><td width='100%' height='39' bgcolor='#39867B' align=center colspan='2'>"
      u"<font color='#FFFFFF'>";
  out += title;
  out += u"</font></td></tr><tr><td width='100%' align='center' height='100%'>";
  out += content;
  out += u"<br><br>";
  out += url_html;
  out += u"</td></tr></table></td></tr></table>";
  return out;
}

namespace {

// One bar row: caption, bar width, size text.
Text BarRow(TextView caption, TextView width, TextView size, bool first) {
  Text out = u"<tr class='tdbg' height='22'>";
  out += first ? u"<td  align='left'>" : u"<td align='left'>";
  out += caption;
  out += u"<img src='../comm/image/orvel_bar.asp' width='";
  out += width;
  out += u"' height=10>";
  out += size;
  out += u"</td></tr>";
  return out;
}

Text Percent(double part, double whole) {
  return automation::DoubleToText(automation::Int(0.8 * 100 * part / whole)) + u"%";
}

}  // namespace

Text ShowBar(Variant& size_max, Variant& size_current) {
  if (size_current.IsEmpty() || size_current.IsNull() ||
      (size_current.IsString() && size_current.text().empty()))
    size_current = Variant(int16_t{0});
  double total = automation::CDbl(size_max);
  double used = automation::CDbl(size_current);
  Text out =
      u"<table width='100%' border='0' align='center' cellpadding='2' cellspacing='0' "
      u"class='border'><tr class='titlebg'><td height='22' colspan=2 align=center>"
      u"<strong>我的上传文件管理</strong></td></tr>";
  out += BarRow(u"总空间：", u"80%", text::GetFileSize(automation::CStr(size_max)), true);
  out += BarRow(u"已使用：", total <= 0 ? Text(u"80%") : Percent(used, total),
                text::GetFileSize(automation::CStr(size_current)), false);
  out += BarRow(u"尚剩余：", total <= 0 ? Text(u"0%") : Percent(total - used, total),
                text::GetFileSize(automation::DoubleToText(total - used)), false);
  out += u"</table>";
  return out;
}

void ClearCache(Variant& response) {
  auto& out = automation::ObjectCast<host::Response>(response);
  out.SetExpires(-1);
  out.SetExpiresAbsolute(automation::Date{automation::Now().serial - 1});
  out.SetCacheControl(u"no-cache");
}

Text OpenerRefresh() {
  return u"<SCRIPT LANGUAGE=JavaScript>opener.location.reload(true);" +
         page::CloseWindowNoMessagebox() + u"</SCRIPT>";
}

namespace {
Text Alert(TextView show_title) {
  if (show_title.empty()) return {};
  return u"alert('" + MessageLiteral(show_title, u'\'') + u"');";
}
}  // namespace

Text OpenerEditRefresh(TextView show_title, uint8_t is_close) {
  Text out = u"<SCRIPT LANGUAGE=JavaScript>";
  out += Alert(show_title);
  out += u"if(!window.showModalDialog){parent.opener.location.reload(true);}"
         u"else{parent.dialogArguments.location.reload(true);}";
  if (is_close == 1) out += page::CloseWindowNoMessagebox();
  out += u"</SCRIPT>";
  return out;
}

Text DialogOpenerEditRefresh(TextView show_title, uint8_t is_close, TextView dialog_id) {
  Text id = automation::Trim(dialog_id).empty() ? Text(u"Dialog") : Text(dialog_id);
  Text out = u"<SCRIPT LANGUAGE=JavaScript>window.parent.document.getElementById('";
  out += MessageLiteral(id, u'\'');
  out += u"').close();window.parent.location.reload(true);";
  out += Alert(show_title);
  if (is_close == 1) out += page::CloseWindowNoMessagebox();
  out += u"</SCRIPT>";
  return out;
}

}  // namespace arenix::show
