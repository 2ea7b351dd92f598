#include "arenix/show/list_header.h"

#include "automation/coerce.h"
#include "automation/error.h"
#include "automation/runtime.h"

namespace arenix::show {
namespace {

using automation::Trim;

double WholeValue(TextView s) { return automation::Int(automation::Val(s)); }

}  // namespace

Text TableHeader(TextView columns, int16_t height, TextView row_class) {
  if (Trim(columns).empty()) return u"";
  Text out = u"<tr align='center' ";
  if (height > 0) out += u" height=" + automation::LongToText(height);
  if (!Trim(row_class).empty()) out += u" " + Text(row_class) + u" ";
  out += u" >";
  for (const Text& column : automation::Split(columns, u"$")) {
    // The appended "|1|1|" stands in for missing spans; the background must
    // still be reachable, so a caption alone has too few parts.
    const std::vector<Text> part = automation::Split(column + u"|1|1|", u"|");
    if (part.size() < 5) throw automation::Error(automation::err::kSubscript);
    const Text& caption = part[0];
    const Text& width = part[1];
    const Text background = Trim(part[4]);
    out += u"<td align='center' ";
    if (WholeValue(width) > 1 || width == u"*") out += u" Width='" + width + u"'";
    if (WholeValue(part[2]) > 1) out += u" ColSpan='" + part[2] + u"'";
    if (WholeValue(part[3]) > 1) out += u" RowSpan='" + part[3] + u"'";
    if (background.size() > 1) {
      out += u" bgcolor=";
      out += automation::LCase(background) == u"excel" ? Text(kExcelHeaderColor) : background;
    }
    out += u">" + caption + u"</td>";
  }
  out += u"</tr>";
  return out;
}

Text TableHeaderEmpty(TextView widths) {
  Text out = u"<tr class=tdbg height=0>";
  for (const Text& w : automation::Split(widths, u"|")) out += u"<td width='" + w + u"'></td>";
  out += u"</tr>";
  return out;
}

Text NoRecord(TextView colspan, bool is_excel, TextView message) {
  Text out = u"<tr ";
  if (!is_excel) out += u" Class=tdbg";
  out += u"><td ColSpan=";
  out += colspan;
  out += u" Height=30 Align=Center><Font Color=Red>";
  out += message;
  out += u"</Font></td></tr>";
  return out;
}

}  // namespace arenix::show
