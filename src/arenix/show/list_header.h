// The fixed rows of a list table: the header row with its captions, widths
// and spans, an invisible row that fixes the column widths, and the row
// shown when nothing matched. Captions, colours and messages are the page's
// own HTML and are written as given.
#pragma once

#include <cstdint>

#include "automation/variant.h"

namespace arenix::show {

using automation::Text;
using automation::TextView;
using automation::Variant;

/// The background word "excel" stands for this colour (the export's header
/// cells).
inline constexpr char16_t kExcelHeaderColor[] = u"#b5f9de";

/// CommShowTableHeader. `columns` holds "$"-separated columns of
/// caption|width[|colspan|rowspan[|background]]. A width is written when its
/// whole value is above 1 or it is "*"; spans when above 1; a background
/// when longer than one character. Empty text for an empty list; a column
/// with a caption only fails the call with a subscript error (9).
Text TableHeader(TextView columns, int16_t height = 30, TextView row_class = u"class =titlebg");

/// CommShowTableHeaderEmpty: a zero-height row of empty cells of the
/// "|"-separated widths.
Text TableHeaderEmpty(TextView widths);

/// CommShowNoRecord: one red message row spanning `colspan` columns; the
/// row class "tdbg" is left out in a spreadsheet export.
Text NoRecord(TextView colspan, bool is_excel = false,
              TextView message = u"没有符合条件的数据。");

}  // namespace arenix::show
