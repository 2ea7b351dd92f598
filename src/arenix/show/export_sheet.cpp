#include "arenix/show/export_sheet.h"

#include "arenix/page/data_source.h"
#include "arenix/page/product.h"
#include "arenix/show/list_header.h"
#include "automation/clock.h"
#include "automation/coerce.h"
#include "automation/runtime.h"
#include "host/host.h"

namespace arenix::show {

using automation::LongToText;

Text SheetHead() {
  return Text(u"<head><meta http-equiv='Content-Type' content='text/html; charset=gbk'><title>") +
         kProductTitle + u"</title></head>";
}

Text SheetTop(int16_t columns, TextView title) {
  Text out = u"<table border='1'><tr align=center height=40><td colspan=" + LongToText(columns) +
             u" bgcolor=#e8f24d>";
  out += title;
  out += u"</td></tr>";
  return out;
}

Text SheetTableHeader(TextView entries, TextView delimiter) {
  std::vector<Text> columns;
  for (const Text& entry : automation::Split(entries, delimiter)) {
    const std::vector<Text> part = automation::Split(entry + u"|1|1", u"|");
    // Width 0 writes no width; the spans stay as given.
    columns.push_back(part[0] + u"|0|" + part[1] + u"|" + part[2] + u"|" + kExcelHeaderColor);
  }
  return TableHeader(automation::Join(columns, u"$"), 0, u"");
}

Text SheetBottom(int16_t columns) {
  return u"<tr align=center height=40><td colspan=" + LongToText(columns) +
         u" bgcolor=65c8f2>来源：" + kProductTitle + u"<br>导出时间：" +
         automation::CStr(Variant(automation::Now())) + u"</td></tr></table>";
}

Text SheetFileName(TextView title) {
  Text name(title);
  // The title as text: the entities a page encodes its title with.
  static constexpr std::pair<const char16_t*, const char16_t*> kEntities[] = {
      {u"&lt;", u"<"}, {u"&gt;", u">"}, {u"&quot;", u"\""}, {u"&#39;", u"'"}, {u"&amp;", u"&"}};
  for (const auto& [entity, c] : kEntities) name = automation::Replace(name, entity, c);
  for (char16_t& c : name)
    if (c < 0x20 || c == 0x7f || Text(u"\\/:*?\"<>|;,").find(c) != Text::npos) c = u'_';
  return name;
}

Text SheetExport(Variant& conn, Variant& rs, Variant& response, const SheetContent& sheet) {
  auto& out_response = automation::ObjectCast<host::Response>(response);
  out_response.SetContentType(kSheetContentType);
  out_response.AddHeader(u"Content-Disposition", u"attachment;filename=" + SheetFileName(sheet.title) + u".xls");
  Text out = SheetHead() + SheetTop(sheet.columns, sheet.title);
  if (!sheet.header1.empty()) out += SheetTableHeader(sheet.header1, u"$");
  if (!sheet.header2.empty()) out += SheetTableHeader(sheet.header2, u"$");
  out += sheet.rows;
  page::CloseData(rs, conn);
  out += SheetBottom(sheet.columns);
  return out;
}

}  // namespace arenix::show
