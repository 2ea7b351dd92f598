#include "arenix/show/tabs.h"

#include <string>

#include "automation/coerce.h"
#include "automation/error.h"

namespace arenix::show {

namespace {

const std::vector<Variant>& Items(const Variant& v, const char16_t* name) {
  if (!v.IsArray())
    throw automation::Error(automation::err::kTypeMismatch,
                            u"Type mismatch: " + Text(name) + u" is not an array");
  return v.array().items;
}

Text Number(size_t n) { return automation::FromAscii(std::to_string(n)); }

}  // namespace

Text ShowTab(TextView bg_color) {
  Text background = bg_color.empty() ? Text() : u"background:" + Text(bg_color) + u";";
  Text out = u"<style type=\"text/css\">\n";
  out += u"#contentwrapper {float: left; width: 100%;float: left; width: 97%;margin: 0px 0px 0px 10px;" +
         background + u"}\n";
  out += u"UL.newsfield {padding: 0px; margin: 0px 0px 2px; list-style-type: none;" + background +
         u"}\n";
  out += u"UL.newsfield LI {padding-left: 12px; padding-top: 3px; border-bottom: #cccccc 1px dashed;}\n"
         u"UL.newsfield LI img {opacity: 0.5;}\n"
         u".textwrap {padding-top: 4px;}\n"
         u".Tab_Title {border: #6394c3 1px solid; border-top: 0px; background: #ffffff; "
         u"padding: 0px 8px;}\n"
         u".Tab_Content {background: url(../comm/image/orvel_tab_bg.asp) repeat-x left bottom; "
         u"text-align: center; overflow: hidden;}\n"
         u".Tab_Content UL {margin: 0px; padding: 0px; list-style-type: none;}\n"
         u".Tab_Content LI {float: left;}\n"
         u".Tab_Content LI A {display: block; width: 93px; height: 26px; "
         u"background: url(../comm/image/orvel_tab_title2.asp) no-repeat; color: #1e5792; "
         u"text-decoration: none; cursor: pointer;}\n"
         u".Tab_Content LI A:hover {background: url(../comm/image/orvel_tab_title1.asp) no-repeat;}\n"
         u".Tab_Content LI A.current {background: url(../comm/image/orvel_tab_title1.asp) no-repeat; "
         u"color: #000000;}\n"
         u"</style>\n";
  out += u"<script language=\"JavaScript\">\n"
         u"function showBlockTabN(iTabnum, iTabcnt) {\n"
         u"  for (var i = 0; i < iTabcnt; i++) {\n"
         u"    var pane = document.getElementById(\"dTabcontent_\" + i);\n"
         u"    if (pane) pane.style.display = \"none\";\n"
         u"    var tab = document.getElementById(\"sTabmenu_\" + i);\n"
         u"    if (tab) tab.className = \"\";\n"
         u"  }\n"
         u"  var shown = document.getElementById(\"sTabmenu_\" + iTabnum);\n"
         u"  if (shown) shown.className = \"current\";\n"
         u"  var content = document.getElementById(\"dTabcontent_\" + iTabnum);\n"
         u"  if (content) content.style.display = \"block\";\n"
         u"}\n"
         u"</script>\n";
  return out;
}

Text ShowTabAndContent(TextView bg_color, const Variant& titles, const Variant& contents,
                       TextView width, TextView height) {
  const auto& title_items = Items(titles, u"p_ArrayTabTitle");
  const auto& content_items = Items(contents, u"p_ArrayTabContent");
  const Text count = Number(title_items.size());
  Text out = ShowTab(bg_color);
  out += u"<div id=contentwrapper><div class=Tab_Content><ul>";
  for (size_t i = 0; i < title_items.size(); ++i) {
    out += u"<li><a ";
    if (i == 0) out += u"class=current ";
    out += u" id='sTabmenu_" + Number(i) + u"' onmouseover='showBlockTabN(" + Number(i) + u", " +
           count + u");'><div class=textwrap>" + automation::CStr(title_items[i]) + u"</div></a>";
  }
  out += u"</li></ul></div><div class=Tab_Title>";
  for (size_t i = 0; i < content_items.size(); ++i) {
    out += u"<div id='dTabcontent_" + Number(i) + u"'";
    if (i > 0) out += u" style='display:none'";
    out += u"><ul class=newsfield><table cellSpacing=0 cellPadding=0 width='" + Text(width) +
           u"' border=0 bgcolor=#eeeeff><tr><td valign=top align=left width='100%'>"
           u"<div style='height:" + Text(height) + u"px;overflow-y:auto;'><ul class=newsfield>" +
           automation::CStr(content_items[i]) +
           u"</ul></div></td></tr></table></ul></div>";
  }
  out += u"</div></div>";
  return out;
}

}  // namespace arenix::show
