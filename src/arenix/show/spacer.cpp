#include "arenix/show/spacer.h"

#include "automation/coerce.h"

namespace arenix::show {

using automation::LongToText;

Text ColorLine(int16_t width, int16_t height, TextView color) {
  Text out = u"<table cellspacing=0 cellpadding=0 width=" + LongToText(width) +
             u" border=0><tr><td nowrap bgcolor=";
  out += color;
  out += u" height=" + LongToText(height) + u"></td></tr></table>";
  return out;
}

Text EmptyLine(int16_t height, TextView bg_color) {
  Text out = u"<table cellspacing=0 cellpadding=0 border=0 width='100%'";
  if (!bg_color.empty()) {
    out += u" bgcolor='";
    out += bg_color;
    out += u"'";
  }
  out += u"><tr height=" + LongToText(height) + u"><td></td></tr></table>";
  return out;
}

Text Spaces(int16_t count) {
  Text out;
  for (int16_t i = 0; i < count; ++i) out += u"&nbsp;";
  return out;
}

}  // namespace arenix::show
