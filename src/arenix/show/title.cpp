#include "arenix/show/title.h"

#include <string>

#include "arenix/page/product.h"
#include "arenix/page/window_scripts.h"
#include "arenix/show/search_frame.h"
#include "arenix/show/spacer.h"
#include "automation/runtime.h"

namespace arenix::show {

namespace {

// The maker's name in the heading of the older page title.
constexpr char16_t kMakerName[] = u"Meetora 开发组";

// Closes the last open dialog element of the parent page (searching from
// the last one backwards). It sits inside a single-quoted attribute.
constexpr char16_t kCloseLastDialog[] =
    u"var d=parent.document.getElementsByClassName(\"dialog\");"
    u"for(var i=d.length-1;i>=0;i--){if(d[i].open){d[i].close();break;}}"
    u"return false;";

constexpr char16_t kPrintLink[] =
    u"&nbsp;&nbsp;<a href='javascript:window.print()'><img src='../comm/image/orvel_printer.asp' "
    u"width='16' height='14' border='0' title='打印本页'";

bool Contains(TextView s, TextView word) { return s.find(word) != TextView::npos; }

Text CloseWindowLink(TextView image) {
  return u"&nbsp;&nbsp;<a href=# onclick='" + page::CloseWindowNoMessagebox() + u"' title='关闭'>" +
         Text(image);
}

}  // namespace

Text ShowTitleTop(TextView unit_name, TextView title, TextView excel_url, int16_t excel_allow,
                  int16_t print_allow, TextView width, TextView other_url, TextView logout_url) {
  Text out = EmptyLine(5);
  out += u"<table cellspacing=0 cellpadding=0 border=0 width='" + Text(width) + u"' align=center>";
  out += u"<tr><td align=center width='100%'><font class=dddfont5>〖" + Text(unit_name) + u"〗" +
         kProductName + u"</font></td></tr>";
  out += u"<tr><td align=right width='100%'>" + Text(other_url);
  if (excel_allow == 1)
    out += u"<a href=\"" + Text(excel_url) +
           u"\" onclick='return openwindow_resizable(this.href,800,600);'><img "
           u"src='../comm/image/orvel_excel.asp' border=0  title='导出至excel'></a>";
  if (print_allow == 1) out += Text(kPrintLink) + u"></a>";
  out += u"&nbsp;&nbsp;<a href=# onclick=\"if(confirm('真的要退出【" + Text(kProductTitle) +
         u"】吗？')==false) {return false;}else{document.location.href='../comm/logout.asp";
  if (!automation::Trim(logout_url).empty()) out += u"?GoUrl=" + Text(logout_url);
  out += u"';}\"><img src='../comm/image/orvel_quit.asp' border='0' title='安全退出'></a></td></tr>";
  out += u"<tr><td align=center width='100%'><font class=dddfont1>" + Text(title) + u"</font>";
  out += SearchRight(u"");
  out += EmptyLine(16);
  return out;
}

Text ShowTitleHeader(TextView title, TextView title_add, TextView title_other) {
  bool other = !automation::Trim(title_other).empty();
  Text out = u"<table cellspacing=0 cellpadding=0 width='90%' border=0 align=center height='30'><tr>"
             u"<td nowrap class=toptitle align=center ";
  out += other ? u" width='90%'" : u" width='100%'";
  out += u">";
  out += title;
  const Text image = u"<img src='../comm/image/orvel_close.asp' border=0 title='关闭' class=no-print></a>";
  if (Contains(title_add, u"closeDialog"))
    out += u"&nbsp;&nbsp;<a href='javascript:void(0);' onclick='" + Text(kCloseLastDialog) +
           u"' title='关闭'>" + image;
  else if (Contains(title_add, u"close"))
    out += CloseWindowLink(image);
  if (Contains(title_add, u"print")) out += Text(kPrintLink) + u" class=no-print>";
  if (other) out += u"</td><td width='10%'>" + Text(title_other);
  out += SearchRight(u"");
  return out;
}

Text ShowHeader2(TextView title, TextView title_add, TextView title_other) {
  Text out = u"<table cellspacing=0 cellpadding=0 width='90%' border=0 align=center height='30'><tr>"
             u"<td nowrap class=toptitle align=center width='90%'>";
  out += title;
  if (Contains(title_add, u"close"))
    out += CloseWindowLink(u"<img src='../comm/image/orvel_close.asp' border=0 title='关闭'></a>");
  if (Contains(title_add, u"print")) out += Text(kPrintLink) + u">";
  out += u"</td><td width='10%'>" + Text(title_other);
  out += SearchRight(u"");
  return out;
}

Text ShowTitleSingle(TextView width, TextView title, TextView content) {
  Text out = SearchLeft(u"", width, kSearchCellClass);
  if (!content.empty()) out += u"【" + Text(content) + u"】&nbsp;&nbsp;";
  out += title;
  out += SearchRight(u"");
  return out;
}

Text ShowHeader(TextView title_name, TextView excel_url, int16_t excel_allow, int16_t print_allow,
                int16_t table_width, TextView other_url) {
  Text out = u"<table cellspacing=0 cellpadding=0 border=0 width='" +
             automation::FromAscii(std::to_string(table_width)) +
             u"' align=center><tr><td align=center width='90%'><br><font class=dddfont5>〖" +
             kMakerName + u"〗Arenix</font><br><br><font class=dddfont1>" + Text(title_name) +
             u"</font></td><td width='10%'>" + Text(other_url);
  if (excel_allow == 1)
    out += u"<a href=\"" + Text(excel_url) +
           u"\" onclick='return OpenWindowResize(this.href,800,600);'><img "
           u"src='../orvel/image/orvel_excel.asp' border=0  title='导出至excel'></a>";
  if (print_allow == 1)
    out += u"&nbsp;&nbsp;<a href='javascript:window.print()'><img "
           u"src='../orvel/image/orvel_printer.asp' width='16' height='14' border='0' "
           u"title='打印本页'></a>";
  out += u"&nbsp;&nbsp;<a href=# onclick=\"if(confirm('真的要退出【Arenix】吗？')==false) {return "
         u"false;}else{document.location.href='../orvel/orvel_logout.asp';}\"><img "
         u"src='../orvel/image/orvel_quit.asp' border='0' title='安全退出'>";
  out += SearchRight(u"");
  out += EmptyLine(16);
  return out;
}

}  // namespace arenix::show
