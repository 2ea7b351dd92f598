#include "arenix/page/encode_unquoted.h"

#include "arenix/page/encode.h"
#include "automation/coerce.h"

namespace arenix::page {

automation::Text UnquotedAttribute(automation::TextView s) {
  if (s.empty()) return u"''";
  automation::Text out;
  for (char16_t c : HtmlEscape(s)) {
    switch (c) {
      case u' ': case u'\t': case u'\n': case u'\r': case u'\f': case u'=': case u'`':
        out += u"&#" + automation::LongToText(c) + u";";
        break;
      default: out += c;
    }
  }
  return out;
}

}  // namespace arenix::page
