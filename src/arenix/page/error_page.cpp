#include "arenix/page/error_page.h"

#include "arenix/page/data_source.h"
#include "arenix/page/product.h"
#include "arenix/page/window_scripts.h"
#include "automation/runtime.h"
#include "host/host.h"

namespace arenix::page {
Text ErrorPageText(TextView message, bool close_parent, TextView dialog_id) {
  // The three close behaviours: a dialog of the parent page, the window
  // itself, or back in the browser's history.
  Text close_script, return_script;
  bool has_dialog = !automation::Trim(dialog_id).empty();
  if (has_dialog) {
    close_script = u" window.parent.document.getElementById('";
    close_script += dialog_id;
    close_script += u"').close();";
    return_script = close_script;
  } else if (close_parent) {
    // The statements stand inside href="JavaScript:...": their own double
    // quotes would end the attribute, so they are written with single ones.
    close_script = automation::Replace(CloseWindowNoMessagebox(), u"\"", u"'");
    return_script = close_script;
  } else {
    close_script = u" history.back();";
    return_script = u"window.history.back();";
  }

  Text page;
  page.reserve(4096 + message.size());
  page += ScriptSwapImage();
  if (!has_dialog && close_parent) page += u"<head><base target=\"_self\"></head>";
  page += u"<title>";
  page += kProductTitle;
  page += u"</title>";
  page += u"<body bgcolor='#FFFFFF' leftmargin='0' topmargin='0' "
          u"onload=OrvelPreloadImages('../Comm/Image/Orvel_Error_ButtonClose2.asp',"
          u"'../Comm/Image/Orvel_Error_ButtonReturn2.asp')>";
  page += u"<table height='100%' cellspacing=0 cellpadding=0 width='100%' border=0><tr><td "
          u"height='60%'>";
  page += u"<table class=body cellspacing=0 cellpadding=0 width=400 align=center "
          u"background='../Comm/Image/Orvel_Error_TopBg.asp' border=0><tr>";
  page += u"<td width=10 height=23><img height=23 src='../Comm/Image/Orvel_Error_TopLeft.asp' "
          u"width=24 border=0></td>";
  page += u"<td width=348 height=23>&nbsp;<FONT face='Arial, Helvetica, sans-serif' "
          u"color=#000000 style='font-size:9pt;'>";
  page += kProductTitle;
  page += u"</FONT></td>";
  page += u"<td vAlign=baseline width=37 height=23 align=right>";
  page += u"<a onmouseover=OrvelSwapImage('close','','../Comm/Image/Orvel_Error_ButtonClose2.asp',1) "
          u"onmouseout=OrvelSwapImgRestore()";
  page += u" href=\"JavaScript:";
  page += close_script;
  page += u"\">";
  page += u"<img height=18 src='../Comm/Image/Orvel_Error_ButtonClose1.asp' width=15 border=0 "
          u"name=close></a></td>";
  page += u"<td width=5 height=23><img height=23 src='../Comm/Image/Orvel_Error_TopRight.asp' "
          u"width=5 border=0 name=errr1_c4></td></tr></table>";
  page += u"<table class=body cellspacing=0 cellpadding=0 width=400 align=center border=0 "
          u"height=100><tr vAlign=bottom><td background='../Comm/Image/Orvel_Error_Bg.asp' "
          u"height=100>";
  page += u"<blockquote><div id=base><font style='font-size:9pt;'><br><br>出错原因：";
  page += u"<ul><li>&nbsp;&nbsp;&nbsp;&nbsp;对不起，";
  page += message;
  page += u"</ul>";
  page += u"<br><br></font></div></blockquote>";
  page += u"<P align=center><a "
          u"onmouseover=OrvelSwapImage('back','','../Comm/Image/Orvel_Error_ButtonReturn2.asp',1) "
          u"onmouseout=OrvelSwapImgRestore() ";
  page += u" href=\"JavaScript:";
  page += return_script;
  page += u"\">";
  page += u"<img height=20 src='../Comm/Image/Orvel_Error_ButtonReturn1.asp' width=73 border=0 "
          u"name=back></a></td></tr>";
  page += u"<tr><td height=2><img height=5 src='../Comm/Image/Orvel_Error_Bottom.asp' "
          u"width=400></td></tr></table></td></tr></table>";
  return page;
}

void WriteErrorPage(Variant& response, Variant& rs, Variant& conn, TextView message,
                    bool close_parent, TextView dialog_id) {
  auto& out = automation::ObjectCast<host::Response>(response);
  out.Write(ErrorPageText(message, close_parent, dialog_id));
  CloseData(rs, conn);
  out.End();
}

}  // namespace arenix::page
