#include "arenix/show/page_frame.h"

#include "arenix/file/file_ops.h"
#include "arenix/page/encode.h"
#include "arenix/page/product.h"
#include "arenix/page/window_scripts.h"
#include "arenix/show/search_frame.h"
#include "automation/error.h"
#include "automation/runtime.h"
#include "automation/text.h"
#include "host/host.h"

namespace arenix::show {

namespace {

// The maker's lines: the login frame's credit block shows the first two,
// the about box all three.
constexpr char16_t kAuthorLine[] = u"Meetora 运动会管理系统 开发组";
constexpr char16_t kOwnershipLine[] = u"版权所有 保留一切权利";
constexpr char16_t kSupportLine[] = u"技术支持：Meetora 开发组";
constexpr char16_t kContactLine[] = u"联系方式：请与本单位系统管理员联系";

constexpr char16_t kRoundBoxStyle[] =
    u"<style type='text/css'>"
    u".b1,.b2,.b3,.b4,.b1b,.b2b,.b3b,.b4b,.b{display:block;overflow:hidden;}"
    u".b1,.b2,.b3,.b1b,.b2b,.b3b{height:1px;}"
    u".b2,.b3,.b4,.b2b,.b3b,.b4b,.b{border-left:1px solid #999;border-right:1px solid #999;}"
    u".b1,.b1b{margin:0 5px;background:#999;}"
    u".b2,.b2b{margin:0 3px;border-width:2px;}"
    u".b3,.b3b{margin:0 2px;}"
    u".b4,.b4b{height:2px;margin:0 1px;}"
    u".k {height:30px;}"
    u"</style>";

Text GrayLine(TextView text) {
  return u"<font style='color:gray; margin:0px 5px;'>" + Text(text) + u"</font>";
}

// The frame shared by the login frame and the about box.
Text LoginFrame(TextView content, TextView title_image, bool credit) {
  Text out;
  if (credit) out += kRoundBoxStyle;
  out += u"<table width='100%' cellspacing=0 padding=0>";
  if (!automation::Trim(title_image).empty()) {
    out += u"<tr height=100 style='background: url(";
    out += title_image;
    out += u");background-repeat:no-repeat;'><td align=right valign=top>";
    out += kVersionText;
    out += u"&nbsp;&nbsp;</td></tr>";
  } else {
    out += u"<tr height=20><td align=right valign=top>";
    out += kVersionText;
    out += u"&nbsp;&nbsp;</td></tr>"
           u"<tr height=80><td align=center valign=middle >"
           u"<div style='float:left;padding-left:10px;'><img src=\"../comm/image/orvel_lf.asp\"></div>"
           u"<div style='float:right;width: 70%; height: 100%;vertical-align: middle;' "
           u"class='dddfont1'>";
    out += kProductName;
    out += u"</div></td></tr>";
  }
  if (credit) {
    out += u"<tr height=80><td style='padding-left:110px;padding-right:10px;padding-top:-20px;' "
           u"align=right><div style='width:140px;text-align:left;'>"
           u"<b class='b1'></b><b class='b2 d1'></b><b class='b3 d1'></b><b class='b4 d1'></b>"
           u"<div class='b d1 k'>";
    out += GrayLine(kAuthorLine) + u"<br>" + GrayLine(kOwnershipLine);
    out += u"</div>"
           u"<b class='b4b d1'></b><b class='b3b d1'></b><b class='b2b d1'></b><b class='b1b'></b>"
           u"</div></td></tr>";
  }
  out += u"<tr height=30><td></td></tr><tr height=160 valign=top><td align=center>";
  out += content;
  out += u"</td></tr></table>";
  return ShowForm(308, 400, out, true);
}

// A name inside a script string of an unquoted attribute: the script
// escapes, and nothing that would end the attribute value.
Text UnquotedScriptValue(TextView name) {
  Text s = page::ScriptString(name);
  Text out;
  for (char16_t c : s) {
    switch (c) {
      case u' ': out += u"\\x20"; break;
      case u'\t': out += u"\\x09"; break;
      case u'=': out += u"\\x3D"; break;
      case u'`': out += u"\\x60"; break;
      default: out += c;
    }
  }
  return out;
}

}  // namespace

Text ShowForm(int16_t width, int16_t height, TextView content, bool close_window) {
  int32_t content_height = int32_t{height} - 62;
  if (content_height < INT16_MIN) throw automation::Error(automation::err::kOverflow);
  Text w = automation::FromAscii(std::to_string(width));
  Text h = automation::FromAscii(std::to_string(height));
  Text out = u"<br><br><body leftmargin=0 topmargin=0><table align=center width='" + w +
             u"' height='" + h +
             u"' cellpadding=0 cellspacing=0 style='border:4px solid #7786DB;border-top:0px solid "
             u"#7786DB;background:#ECE9D8;'>";
  out += u"<tr height=28  style=\"padding-left:2px;background-image:url(../comm/image/"
         u"orvel_form_title_bg.asp)\"><td align=left valign=middle width=\"100%\" "
         u"style='Font-Size:14px;color:#FFFFFF;vertical-align:middle;'><img "
         u"src=\"../comm/image/tb.asp\" height=16 width=16 border=0 "
         u"style='vertical-align:middle;'>&nbsp;";
  out += kProductName;
  out += u"</td><td align=right valign=middle width=\"20\"><a href=";
  out += close_window ? u"javascript:" + page::CloseWindowNoMessagebox() : Text(u"Index.asp");
  out += u"><img src=\"../comm/image/orvel_form_close.asp\" title=\"关闭\" border=0></a>&nbsp;"
         u"</td></tr>";
  out += u"<tr height='" + automation::FromAscii(std::to_string(content_height)) +
         u"' valign=top><td align=center colspan=2>";
  out += content;
  out += SearchRight(u"");
  return out;
}

Text ShowLogin(TextView content, TextView title_image) {
  return LoginFrame(content, title_image, true);
}

Text ShowAbout(TextView title_image) {
  Text box = u"<div style='text-align:left;line-height:24px;'>";
  box += Text(kAuthorLine) + u"<br>" + kOwnershipLine + u"<br>" + kSupportLine + u"<br>" +
         kContactLine;
  box += u"</div>";
  return LoginFrame(box, title_image, false);
}

Text ShowFormFileSelect(Variant& server, TextView search_path, int16_t search_type) {
  Text path(search_path);
  const host::Server& host_server = automation::ObjectCast<host::Server>(server);
  if (path.find(u':') == Text::npos) path = host_server.MapPath(path);
  Text names = file::SearchPathFile(host_server.site(), path, search_type);
  Text shown = automation::Replace(
      automation::Replace(automation::Replace(search_path, u"..", u""), u"\\", u""), u"/", u"");
  Text out = u"&nbsp;<img src='../comm/image/orvel_folder_open.asp' border=0 align=absmiddle>";
  out += shown;
  out += u"<br>";
  if (names.empty()) return out;
  for (const Text& n : automation::Split(names, u"|")) {
    out += u"<a style='padding-left:20px;cursor:hand;' onclick=javascript:SelectPathFile('";
    out += UnquotedScriptValue(n);
    out += u"');><img src='../comm/image/orvel_folder_close.asp' border=0 align=absmiddle>";
    out += page::HtmlEscape(n);
    out += u"</a><br>";
  }
  return out;
}

}  // namespace arenix::show
