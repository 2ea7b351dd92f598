#include "arenix/meet/stored_result.h"

#include <algorithm>
#include <string>

#include "automation/runtime.h"
#include "data/foxsql/functions.h"

namespace arenix::meet {
namespace {

using automation::Trim;

// A trimmed part right-aligned in `width`: blanks on the left, or the
// rightmost characters of a longer part.
Text RightIn(TextView part, size_t width) {
  Text t = Trim(part);
  if (t.size() >= width) return t.substr(t.size() - width);
  return Text(width - t.size(), u' ') + t;
}

// A trimmed part left-aligned in `width`: blanks on the right, or the
// leftmost characters of a longer part.
Text LeftIn(TextView part, size_t width) {
  Text t = Trim(part);
  if (t.size() >= width) return t.substr(0, width);
  return t + Text(width - t.size(), u' ');
}

double ValOf(TextView s) { return data::foxsql::FoxVal(automation::ToUtf8(s)); }

}  // namespace

ResultLayout LayoutOf(TextView custom_format, TextView kind, int edition, int time_style) {
  if (!automation::TrimmedView(custom_format).empty()) return ResultLayout::kCustom;
  const TextView k = automation::TrimmedView(kind);
  if (k == kCombinedKind) return ResultLayout::kCombinedTotal;
  if (k != kTrackKind && edition != kTimedEdition) return ResultLayout::kField;
  if (time_style == kHoursTimeStyle) return ResultLayout::kTimeWithHours;
  return ResultLayout::kTime;
}

Text ComposeStoredResult(ResultLayout layout, const std::array<TextView, 4>& p) {
  switch (layout) {
    case ResultLayout::kCustom:
    case ResultLayout::kCombinedTotal:
      return RightIn(p[0], 9);
    case ResultLayout::kField:
      return u"    " + RightIn(p[0], 2) + LeftIn(p[1], 2) + u" ";
    case ResultLayout::kTimeWithHours:
      return RightIn(p[0], 2) + RightIn(p[1], 2) + RightIn(p[2], 2) + LeftIn(p[3], 3);
    case ResultLayout::kTime:
      return u"  " + RightIn(p[0], 2) + RightIn(p[1], 2) + LeftIn(p[2], 2) + u" ";
  }
  return Text(9, u' ');
}

bool IsEmptyResult(TextView stored) {
  return std::all_of(stored.begin(), stored.end(), [](char16_t c) { return c == u' '; });
}

Text SortKeyOf(TextView stored) {
  Text key(stored);
  if (key.size() < kStoredResultWidth) key.append(kStoredResultWidth - key.size(), u' ');
  std::replace(key.begin(), key.end(), u' ', u'0');
  return key;
}

Text TimedEliminatedKey(int32_t previous_place) {
  return ZeroFilledKey(int64_t{kTimedEliminatedBase} + previous_place);
}

Text TimedQualifiedNoResultKey(int rule) {
  switch (rule) {
    case 1: return u"999998000";
    case 2: return u"999999998";
    case 3: return u"999997000";
    default: return {};
  }
}

Text ZeroFilledKey(int64_t n) {
  Text digits = automation::FromAscii(std::to_string(n));
  if (digits.size() >= 9) return digits.substr(digits.size() - 9);
  return Text(9 - digits.size(), u'0') + digits;
}

Text GroupedKey(int digit, TextView key) {
  Text k = SortKeyOf(key);
  return automation::FromAscii(std::to_string(digit)) + k.substr(k.size() - 8);
}

double SecondsOfKey(TextView key) {
  Text k(key);
  return ValOf(automation::Left(k, 2)) * 3600 + ValOf(automation::Mid(k, 3, 2)) * 60 +
         ValOf(automation::Mid(k, 5, 2)) + ValOf(u"0." + automation::Right(k, 3));
}

double MetresOfKey(TextView key) {
  Text k(key);
  return ValOf(automation::Left(k, 6)) + ValOf(u"0." + automation::Right(k, 3));
}

bool IsTimedRow(TextView kind, TextView sub_event, int edition) {
  if (edition == kTimedEdition) return true;
  Text k = Trim(kind);
  if (k == kTrackKind) return true;
  return k == kCombinedKind && Trim(sub_event).find(u"米") != Text::npos;
}

}  // namespace arenix::meet
