#include "arenix/meet/list_rows.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

#include "arenix/meet/result_format.h"
#include "arenix/meet/stored_result.h"
#include "arenix/page/encode.h"
#include "arenix/show/grid_row.h"
#include "automation/coerce.h"
#include "automation/runtime.h"
#include "data/data.h"

namespace arenix::meet {
namespace {

using namespace std::string_view_literals;
using automation::Left;
using automation::LongToText;
using automation::Mid;
using automation::Right;
using automation::Trim;
using automation::TrimmedView;
using page::AppendHtmlEscaped;

constexpr int16_t kFinal = 4;
constexpr TextView kGuestMark = u"★"sv;

// A row takes about this many units; one reserve covers most rows whole.
constexpr size_t kRowReserve = 512;

// The Play columns the rows read.
enum Column : uint8_t {
  kNumber, kAthlete, kTeamName, kDelegation, kHeat, kLane, kTeamEvent, kGuestTeam, kGuestMember,
  kKind, kEvent, kSubEvent, kCustomFormat, kResult, kPlace, kGroupPlace, kPoints, kRecord, kColumnCount
};
constexpr TextView kColumnNames[kColumnCount] = {
    u"编号", u"运动员", u"比赛团队", u"代表队", u"比赛组次", u"比赛道次", u"集体项目", u"编外队", u"编外队员",
    u"径赛田赛", u"参赛项目", u"参赛子项目", u"自定义格式", u"比赛成绩", u"比赛名次", u"比赛组名次", u"比赛得分",
    u"比赛破记录"};

// One Play row read through the page's record set. Each column is read
// when first asked for and at most once a row, so a record set without a
// column fails only where the row needs it. A Null value reads as empty
// text or false.
class PlayRow {
 public:
  explicit PlayRow(Variant& rs) : rs_(automation::ObjectCast<data::Recordset>(rs)) {}

  TextView Str(Column c) {
    const uint32_t bit = 1u << c;
    if (!(read_ & bit)) {
      Variant v = rs_.Field(kColumnNames[c]);
      if (v.IsString()) texts_[c] = std::move(v.As<Text>());
      else if (!v.IsNull()) texts_[c] = automation::CStr(v);
      read_ |= bit;
    }
    return texts_[c];
  }
  TextView Trimmed(Column c) { return TrimmedView(Str(c)); }
  bool Flag(Column c) {
    const uint32_t bit = 1u << c;
    if (!(read_ & bit)) {
      const Variant v = rs_.Field(kColumnNames[c]);
      if (!v.IsNull() && !v.IsEmpty() && automation::CBool(v)) flags_ |= bit;
      read_ |= bit;
    }
    return flags_ & bit;
  }

 private:
  data::Recordset& rs_;
  uint32_t read_ = 0;
  uint32_t flags_ = 0;
  std::array<Text, kColumnCount> texts_;
};

// A cell of `text`, escaped; `mark` (markup) follows it inside the cell.
void AppendCell(Text& out, TextView text, TextView mark = {}) {
  out += u"<td>"sv;
  AppendHtmlEscaped(out, text);
  out += mark;
  out += u"</td>"sv;
}

// The row heights of the entry form and of the result query, with the
// guests' colour and without.
enum class RowHeight { kEntry, kQuery };
TextView RowStyle(RowHeight height, bool guest) {
  if (height == RowHeight::kEntry)
    return guest ? u"style='height:25px;color:#FF7D00'"sv : u"style='height:25px;'"sv;
  return guest ? u"style='height:20px;color:#FF7D00'"sv : u"style='height:20px;'"sv;
}

// The beginning both rows share: the row tag and the cells of entry number,
// name (or team), delegation, heat and lane.
void AppendRowStart(Text& out, PlayRow& row, RowHeight height, int16_t row_number, bool mark_guests) {
  const bool guest = mark_guests && (row.Flag(kGuestTeam) || row.Flag(kGuestMember));
  show::AppendGridTr(out, row_number, {RowStyle(height, guest)});
  const bool team_event = row.Flag(kTeamEvent);
  const TextView name = row.Trimmed(team_event ? kTeamName : kAthlete);
  const TextView team = row.Trimmed(kDelegation);
  AppendCell(out, row.Trimmed(kNumber));
  // A guest is marked after the team's name in a team event, else after
  // the entrant's.
  AppendCell(out, name, guest && !team_event ? kGuestMark : TextView());
  AppendCell(out, team, guest && team_event ? kGuestMark : TextView());
  AppendCell(out, row.Str(kHeat));
  AppendCell(out, row.Str(kLane));
}

void AppendKeyHandler(Text& out, int dot, int length, int16_t zngy) {
  out += u"onKeyDownDefault(this,"sv;
  out += LongToText(dot);
  out += u","sv;
  out += LongToText(length);
  out += u","sv;
  out += LongToText(zngy);
  out += u")"sv;
}

// One text input of the entry form. `dot` and `length` go to the key
// handler; `max_length` limits what can be typed.
struct EntryInput {
  TextView css_class;
  int width;  // CSS pixels
  int dot;
  int length;
  int max_length;
  TextView name;  // prefix; the entry number follows
  TextView value;
};

// Marks are digits only: phones show the digit pad and a paste with
// anything else is refused (the save checks every mark again).
constexpr TextView kDigitsOnly =
    u" inputmode=numeric onpaste='return /^[\\s0-9\uFF10-\uFF19]*$/.test((event.clipboardData||window.clipboardData)"
    u".getData(\"text\"))'"sv;

// `number` is the entry number, already escaped.
void AppendTextInput(Text& out, const EntryInput& in, TextView number, int16_t zngy) {
  out += u"<input type=text class="sv;
  out += in.css_class;
  out += u" style='width:"sv;
  out += LongToText(in.width);
  out += u"px' maxlength="sv;
  out += LongToText(in.max_length);
  if (in.name.starts_with(u"playcj_"sv)) out += kDigitsOnly;
  out += u" onkeydown='"sv;
  AppendKeyHandler(out, in.dot, in.length, zngy);
  out += u"' onfocus='this.select()' name='"sv;
  out += in.name;
  out += number;
  out += u"' value='"sv;
  AppendHtmlEscaped(out, in.value);
  out += u"'>"sv;
}

void AppendInputCell(Text& out, const EntryInput& in, TextView number, int16_t zngy) {
  out += u"<td>"sv;
  AppendTextInput(out, in, number, zngy);
  out += u"</td>"sv;
}

// The result inputs of a stored result `r`, by the layout the event stores
// its results in, each followed by its unit text.
void AppendResultInputs(Text& out, PlayRow& row, const EntryRowOptions& o, TextView number) {
  const TextView custom = row.Trimmed(kCustomFormat);
  const TextView kind = row.Str(kKind);
  const TextView r = row.Str(kResult);
  auto part = [&](TextView css, int width, int length, int slot, TextView value, TextView unit) {
    const Text name = u"playcj_" + LongToText(slot) + u"_";
    AppendTextInput(out, {css, width, 1, length, length, name, value}, number, o.zngy);
    AppendHtmlEscaped(out, unit);
  };
  auto right = [&](int start, int size, int keep) {
    return Right(Text(size, u' ') + Trim(Mid(r, start, size)), keep);
  };
  auto left = [&](int keep) { return Left(Trim(Mid(r, 7, 3)) + u"   ", keep); };

  switch (LayoutOf(custom, kind, o.edition, o.time_style)) {
    case ResultLayout::kCustom: {
      const int digits = static_cast<int>(std::count(custom.begin(), custom.end(), u'#'));
      part(u"inputcj1", digits * 10, digits, 1, TrimmedView(r), automation::Replace(custom, u"#", u""));
      break;
    }
    case ResultLayout::kCombinedTotal:
      part(u"inputcj1", 40, 4, 1, TrimmedView(r), u"分");
      break;
    case ResultLayout::kField:
      part(u"inputcj2", 20, 2, 1, right(1, 6, 2), u"．");
      part(u"inputcj2", 20, 2, 2, left(2), u"米");
      break;
    case ResultLayout::kTimeWithHours:
      part(u"inputcj1", 20, 2, 1, right(1, 2, 2), u"：");
      part(u"inputcj1", 20, 2, 2, right(3, 2, 2), u"：");
      part(u"inputcj1", 20, 2, 3, right(5, 2, 2), u"．");
      part(u"inputcj1", 30, 3, 4, left(3), u"");
      break;
    case ResultLayout::kTime:
      part(u"inputcj1", 20, 2, 1, right(1, 4, 2), u"’");
      part(u"inputcj1", 20, 2, 2, right(5, 2, 2), u"”");
      part(u"inputcj1", 20, 2, 3, left(2), u"");
      break;
  }
}

// The value shown or typed as a combined event's points: a sub-event row's
// points, or the combined row's own total.
TextView CombinedPoints(PlayRow& row) {
  return row.Trimmed(kKind) == kCombinedKind ? row.Trimmed(kResult) : row.Str(kPoints);
}

// A place or points text read as a number, as the coercions read numbers;
// a few digits alone (the usual case) are read here.
std::optional<double> NumberOf(TextView t) {
  if (t.empty() || t.size() > 9 || !std::all_of(t.begin(), t.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; }))
    return automation::ParseNumber(t);
  double n = 0;
  for (char16_t c : t) n = n * 10 + (c - u'0');
  return n;
}

// An entrant without a result has no place: the ranking still orders such
// entrants (after everyone with a result, sharing one place), and a place
// of 0 is none at all; both are shown as nothing rather than as a place.
TextView ShownPlace(PlayRow& row, Column column) {
  const TextView t = row.Trimmed(column);
  if (IsEmptyResult(row.Str(kResult))) return {};
  const auto v = NumberOf(t);
  return v && *v <= 0 ? TextView() : t;
}

// Points as the list shows them, without a fraction of zeros (9.0 as 9,
// 10.05 and 10.5 as they are); nothing for an entrant without a place
// whose points are 0.
TextView ShownPoints(PlayRow& row) {
  TextView t = row.Trimmed(kPoints);
  if (ShownPlace(row, kPlace).empty()) {
    const auto v = NumberOf(t);
    if (t.empty() || (v && *v == 0)) return {};
  }
  const size_t point = t.rfind(u'.');
  if (point != TextView::npos && point + 1 < t.size() && t.find_first_not_of(u'0', point + 1) == TextView::npos) {
    t = t.substr(0, point);
  }
  return t;
}

}  // namespace

Text EntryRow(Variant& rs, const EntryRowOptions& o) {
  PlayRow row(rs);
  const bool places = o.places_mode == 1;
  Text out;
  out.reserve(kRowReserve * 2);
  // The entry number goes into attribute values escaped, and into the
  // points script as a string literal inside a single-quoted attribute.
  const Text number(row.Trimmed(kNumber));
  const Text html_number = page::HtmlEscape(number);
  AppendRowStart(out, row, RowHeight::kEntry, o.row, o.mark_guests == 1);

  out += u"<td valign=top>"sv;
  if (places) {
    AppendHtmlEscaped(out, FormatResult(row.Str(kKind), row.Trimmed(kCustomFormat), row.Str(kResult), o.edition,
                                        o.time_style));
  } else {
    AppendResultInputs(out, row, o, html_number);
  }
  out += u"</td>"sv;

  const bool combined = row.Str(kEvent).find(kCombinedKind) != TextView::npos;
  if (places) {
    AppendInputCell(out, {u"inputcj1", 20, 1, 2, 2, u"playmc_", row.Str(kPlace)}, html_number, o.zngy);
    AppendInputCell(out, {u"inputcj1", 20, 1, 2, 2, u"playzmc_", row.Str(kGroupPlace)}, html_number, o.zngy);
    // Combined points run to four digits, so the box takes four.
    if (combined) AppendInputCell(out, {u"inputcj1", 40, 1, 4, 4, u"playqnf_", CombinedPoints(row)}, html_number, o.zngy);
  } else {
    AppendCell(out, ShownPlace(row, kPlace));
    AppendCell(out, ShownPlace(row, kGroupPlace));
    if (combined) AppendCell(out, CombinedPoints(row));
  }

  if (places && o.stage == kFinal) {
    AppendInputCell(out, {u"inputcj2", 30, 0, 4, 4, u"playdf_", row.Str(kPoints)}, html_number, o.zngy);
    const int16_t points = row.Flag(kTeamEvent) ? o.record_points_team : o.record_points;
    out += u"<td><input type=checkbox class=inputcj1 onkeydown='"sv;
    AppendKeyHandler(out, 0, 4, o.zngy);
    out += u"' onclick='get_df(\""sv;
    AppendHtmlEscaped(out, page::ScriptString(number));
    out += u"\","sv;
    out += LongToText(points);
    out += u")' name='playpjl_"sv;
    out += html_number;
    out += u"' value='on'"sv;
    if (row.Flag(kRecord)) out += u" checked "sv;
    out += u"></td>"sv;
  }
  out += u"</tr>"sv;
  return out;
}

Text QueryRow(Variant& rs, const QueryRowOptions& o) {
  PlayRow row(rs);
  Text out;
  out.reserve(kRowReserve);
  AppendRowStart(out, row, RowHeight::kQuery, o.row, o.mark_guests == 1);
  TextView kind = row.Trimmed(kKind);
  const TextView sub_event = row.Trimmed(kSubEvent);
  // A sub-event of a combined event is shown as a run or a field event; the
  // combined row itself (no sub-event) keeps its points total.
  if (kind == kCombinedKind && !sub_event.empty()) {
    kind = sub_event.find(u"米") != TextView::npos ? kTrackKind : kFieldKind;
  }
  AppendCell(out, FormatResult(kind, row.Trimmed(kCustomFormat), row.Str(kResult), o.edition, o.time_style));
  AppendCell(out, ShownPlace(row, kPlace));
  AppendCell(out, row.Flag(kRecord) ? u"√" : u"");
  if (o.stage == kFinal) AppendCell(out, ShownPoints(row));
  out += u"</tr>"sv;
  return out;
}

}  // namespace arenix::meet
