// Stored results as result pages show them: a time with its unit marks, a
// mark in metres, a points total, or a custom-format value with its unit
// (CommShowFormatCj, CommShowFormatCj_Sub; the result lists call these for
// every row).
//
//   "    1012 " timed            -> 10”12
//   "   10230 " timed            -> 1’02”30
//   "     987 " timed            -> 9”87
//   "    1234 " field            -> "    12．34 米" (leading blanks kept)
//   "000012340" field            -> 12．340米
//   " 215300  " timed, style 2   -> 02：15：30．000
//   "     7856" custom "####个"   -> 7856个
//   "     3012" combined total   -> 3012分
// An empty or all-blank result shows as the empty text, whatever the kind.
#pragma once

#include "automation/variant.h"

namespace arenix::meet {

using automation::Text;
using automation::TextView;
using automation::Variant;

/// The shown text of a stored result. The layout is chosen as the result
/// was stored (stored_result.h LayoutOf: custom format, "全能", field event
/// unless edition 2, time style 2, other times); the custom format's unit
/// is the format with every "#" removed, as given.
Text FormatResult(TextView kind, TextView custom_format, TextView stored, int edition, int time_style);

/// CommShowFormatCj: the current row of the record set `rs` (a Play row)
/// shown as FormatResult shows its 径赛田赛, the column `column` (比赛成绩,
/// 前赛成绩, ...) and 自定义格式. A Null result shows as the empty text; a
/// Null kind or format reads as empty text. Raises 3021 at EOF and 3265
/// for an unknown column, as the record set does.
Text FormatResultOfRow(Variant& rs, int edition, int time_style, TextView column);

}  // namespace arenix::meet
