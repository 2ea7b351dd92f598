#include "arenix/file/path_text.h"

#include "automation/runtime.h"

namespace arenix::file {

using automation::InStrRev;
using automation::LCase;
using automation::Trim;

namespace {
// The extensions that have an icon of their own, between bars.
constexpr char16_t kIconTypes[] =
    u"|asa|asp|aspx|avi|bat|bmp|cab|chm|cmd|com|cs|css|dll|doc|dwf|dwg|dxf|exe|gif|hlp|htc|htm|"
    u"html|img|inc|iso|jpg|js|lnk|log|mail|mdb|mdf|mht|mid|midi|mp3|pct|pdf|ppt|rar|reg|rm|rmvb|"
    u"sql|swf|sys|text|txt|url|vda|vs|wav|wmp|wmv|wri|xls|xml|xslt|zip|";
}  // namespace

Text FileGetPath(TextView path) {
  Text p = Trim(path);
  size_t at = p.find(u'\\') != Text::npos ? p.rfind(u'\\') : p.rfind(u'/');
  return at == Text::npos ? Text() : p.substr(0, at + 1);
}

Text FileGetFullName(TextView path) {
  Text p = Trim(path);
  char16_t sep = p.find(u'\\') != Text::npos ? u'\\' : u'/';
  size_t at = p.rfind(sep);
  return at == Text::npos ? p : p.substr(at + 1);
}

Text FileGetName(TextView path) {
  size_t dot = path.rfind(u'.');
  return LCase(dot == TextView::npos ? path : path.substr(0, dot));
}

Text FileGetExt(TextView path, uint8_t has_point) {
  Text p = Trim(path);
  int32_t dot = InStrRev(p, u".");
  if (dot == 0) return Text();
  int32_t n = automation::Len(p) - dot + has_point;
  return LCase(automation::Right(p, n < 0 ? 0 : n));
}

Text FileGetIcon(TextView ext, TextView icon_ext, TextView icon_type) {
  Text known = Text(u"|") + LCase(ext) + u"|";
  Text icon = TextView(kIconTypes).find(known) != TextView::npos ? Text(ext) : Text(u"unknown");
  if (LCase(icon_type) == u"big")
    return u"<img src=../comm/image/fileswt1/" + icon + u"." + Text(icon_ext) +
           u" border=0 width=35 height=32 title='" + Text(ext) + u"' align='absmiddle'>";
  return u"<img src=../comm/image/fileswt/" + icon + u"." + Text(icon_ext) +
         u" border=0 width=16 height=16 title='" + Text(ext) + u"' align='absmiddle'>";
}

}  // namespace arenix::file
