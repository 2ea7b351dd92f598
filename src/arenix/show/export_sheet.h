// Export of a list as a spreadsheet: an HTML table that the browser hands
// to a spreadsheet program because the response declares the spreadsheet
// content type and an attachment name. SheetExport does the whole job; the
// four pieces are public for pages that assemble the table themselves.
// Titles, captions and the page's rows are the page's own HTML.
#pragma once

#include <cstdint>

#include "automation/variant.h"

namespace arenix::show {

using automation::Text;
using automation::TextView;
using automation::Variant;

inline constexpr char16_t kSheetContentType[] = u"application/vnd.ms-excel";

/// CommShowExcelHeader: the document head with the product title. It names
/// the code page the response is written in (GBK), so that a spreadsheet
/// program on any system reads the Chinese texts, not only one whose own
/// code page happens to be GBK.
Text SheetHead();

/// CommShowExcelTop: the table opening and the title row over `columns`.
Text SheetTop(int16_t columns, TextView title);

/// CommShowExcelTableHeader: one header row of caption[|colspan[|rowspan]]
/// entries separated by `delimiter`, each cell on the export's header colour.
Text SheetTableHeader(TextView entries, TextView delimiter = u"$");

/// CommShowExcelBottom: the source row with the export time, and the table
/// end.
Text SheetBottom(int16_t columns);

struct SheetContent {
  TextView title;
  int16_t columns;
  TextView rows;           // the page's rows
  TextView header1 = u"";  // header entries ("$"-separated), "" = no row
  TextView header2 = u"";
};

/// The sheet's file name from its title: entities read as the characters
/// they stand for, and the characters a file name or the header cannot
/// hold (\ / : * ? " < > | ; , and control characters) as "_".
Text SheetFileName(TextView title);

/// CommShowExcel: sets the content type and the attachment name (title +
/// ".xls"), closes and empties the page's `rs` and `conn`, and returns the
/// whole table for the page to write.
Text SheetExport(Variant& conn, Variant& rs, Variant& response, const SheetContent& sheet);

}  // namespace arenix::show
