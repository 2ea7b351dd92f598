// The stored result (比赛成绩, 9 characters, blanks as filler) and its sort
// key (排序成绩), as result entry writes them and every list reads them.
//
// Layouts, by kind of event (each typed part trimmed first):
//   custom format / combined total   the value right-aligned in 9
//   field event                      4 blanks, metres right in 2, cm left in 2, 1 blank
//   time with hours                  hours, minutes, seconds right in 2 each, fraction left in 3
//   other time                       2 blanks, minutes, seconds right in 2, hundredths left in 2, 1 blank
// 12.34 m -> "    1234 "; 10.5 s (10 and 5) -> "    105  "; 1:02.30 -> "   10230 ".
// A part longer than its slot keeps its rightmost characters in a
// right-aligned slot and its leftmost in a left-aligned one.
//
// The sort key is the stored result with every blank turned into "0":
// HHMMSSfff for times, six digits of metres and three of fraction for
// marks. Times sort ascending, marks descending, as text.
#pragma once

#include <array>
#include <cstdint>

#include "automation/text.h"

namespace arenix::meet {

using automation::Text;
using automation::TextView;

inline constexpr int kStoredResultWidth = 9;

/// Event kinds of the 径赛田赛 column.
inline constexpr char16_t kTrackKind[] = u"径赛";
inline constexpr char16_t kFieldKind[] = u"田赛";
inline constexpr char16_t kCombinedKind[] = u"全能";

/// Edition 2: every event is timed (swimming).
inline constexpr int kTimedEdition = 2;
/// Time style 2: times with hours.
inline constexpr int kHoursTimeStyle = 2;

enum class ResultLayout { kCustom, kCombinedTotal, kField, kTimeWithHours, kTime };

/// The layout a result of an event is stored in: custom when the trimmed
/// custom format is not empty; the combined total when `kind` (trimmed, as
/// a wider column would pad it) is "全能";
/// a field mark when `kind` is not "径赛" and the edition is not 2; a time
/// with hours under time style 2; otherwise a time.
/// Example: LayoutOf(u"", u"田赛", 1, 1) == ResultLayout::kField;
///          LayoutOf(u"", u"田赛", 2, 1) == ResultLayout::kTime.
ResultLayout LayoutOf(TextView custom_format, TextView kind, int edition, int time_style);

/// Joins the typed parts of a result (the entry form's up to four fields,
/// in order: metres, centimetres / minutes, seconds, hundredths / hours,
/// minutes, seconds, fraction / the whole value) into the stored result.
/// Parts not used by the layout are ignored. All parts empty still gives
/// the layout's blanks (9 blanks), which reads as no result.
/// Example: ComposeStoredResult(ResultLayout::kTime, {u"1", u"02", u"30"}) == u"   10230 ".
Text ComposeStoredResult(ResultLayout layout, const std::array<TextView, 4>& parts);

/// Is the stored result empty (nothing but blanks)?
bool IsEmptyResult(TextView stored);

/// The sort key: the stored result padded to 9 with blanks on the right
/// (as the column holds it), every blank then turned into "0".
/// Example: SortKeyOf(u"    1234 ") == u"000012340"; SortKeyOf(u"") == u"000000000".
Text SortKeyOf(TextView stored);

// Special sort keys.
inline constexpr char16_t kNoResultKey[] = u"000000000";       // no result at all
inline constexpr char16_t kTimedNoResultKey[] = u"999999999";  // timed, no result: after every time
inline constexpr int32_t kTimedEliminatedBase = 999996000;     // + previous place

/// Timed event, entrant eliminated earlier: 999996000 + previous place.
/// Example: TimedEliminatedKey(9) == u"999996009".
Text TimedEliminatedKey(int32_t previous_place);

/// Timed event, qualified entrant without a result in this stage, by the
/// rule for entrants without a result (1, 2 or 3): "999998000",
/// "999999998", "999997000"; empty for any other rule.
Text TimedQualifiedNoResultKey(int rule);

/// A whole number as a 9-digit key, "0"-filled on the left (the rightmost
/// 9 characters of a longer one). A negative number keeps its sign after
/// the zeros, as the statements' PADL would write it: -3 -> "0000000-3".
Text ZeroFilledKey(int64_t n);

/// Field event, entrant eliminated earlier: (scoring places - previous
/// place + 10) as 9 digits. Example: FieldEliminatedKey(8, 10) == u"000000008".
inline Text FieldEliminatedKey(int scoring_places, int previous_place) {
  return ZeroFilledKey(int64_t{scoring_places} - previous_place + 10);
}

/// Field event, qualified entrant without a result, or an earlier entrant
/// moved into a free scoring place: (scoring places - previous place).
inline Text FieldQualifiedKey(int scoring_places, int previous_place) {
  return ZeroFilledKey(int64_t{scoring_places} - previous_place);
}

/// Grouped final: the key's first character replaced by the block digit.
/// Example: GroupedKey(1, u"000010500") == u"100010500".
Text GroupedKey(int digit, TextView key);

/// A timed key in seconds: HH*3600 + MM*60 + SS + 0.fff.
/// Example: SecondsOfKey(u"000102300") == 62.3.
double SecondsOfKey(TextView key);

/// A field key in metres: the first six digits + 0.fff.
/// Example: MetresOfKey(u"000012340") == 12.34.
double MetresOfKey(TextView key);

/// 排序名次: the place, or 9999 for place 0.
inline constexpr int32_t kNoPlaceOrder = 9999;
inline constexpr int32_t PlaceForOrdering(int32_t place) { return place == 0 ? kNoPlaceOrder : place; }

/// Is an empty result sorted last, that is, is the row timed? True in
/// edition 2, for a trimmed kind "径赛", and for a combined event's row
/// whose trimmed sub-event name contains "米" (a run).
/// Example: IsTimedRow(u"全能", u"100米", 1) is true; IsTimedRow(u"全能", u"跳远", 1) is false.
bool IsTimedRow(TextView kind, TextView sub_event, int edition);

}  // namespace arenix::meet
