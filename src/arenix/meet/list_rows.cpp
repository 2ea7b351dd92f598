#include "arenix/meet/list_rows.h"

#include <algorithm>
#include <vector>

#include "arenix/meet/result_format.h"
#include "arenix/meet/stored_result.h"
#include "arenix/page/encode.h"
#include "arenix/show/grid_row.h"
#include "automation/coerce.h"
#include "automation/runtime.h"
#include "data/data.h"

namespace arenix::meet {
namespace {

using automation::Left;
using automation::LongToText;
using automation::Mid;
using automation::Right;
using automation::Trim;
using page::HtmlEscape;

constexpr int16_t kFinal = 4;
constexpr char16_t kGuestColor[] = u"color:#FF7D00";
constexpr char16_t kGuestMark[] = u"★";

// One Play row read through the page's record set. A Null value reads as
// empty text or false.
class PlayRow {
 public:
  explicit PlayRow(Variant& rs) : rs_(automation::ObjectCast<data::Recordset>(rs)) {}

  Text Str(TextView name) const {
    const Variant v = rs_.Field(name);
    return v.IsNull() ? Text() : automation::CStr(v);
  }
  Text Trimmed(TextView name) const { return Trim(Str(name)); }
  bool Flag(TextView name) const {
    const Variant v = rs_.Field(name);
    return !v.IsNull() && !v.IsEmpty() && automation::CBool(v);
  }

 private:
  data::Recordset& rs_;
};

Text Cell(TextView text) { return u"<td>" + Text(text) + u"</td>"; }

// The beginning both rows share: the row tag and the cells of entry number,
// name (or team), delegation, heat and lane.
Text RowStart(const PlayRow& row, TextView height, int16_t row_number, bool mark_guests) {
  const bool guest = mark_guests && (row.Flag(u"编外队") || row.Flag(u"编外队员"));
  Text style = u"style='height:" + Text(height) + u";";
  if (guest) style += kGuestColor;
  style += u"'";
  Text out = show::GridTr(row_number, {style});
  const bool team_event = row.Flag(u"集体项目");
  Text name = HtmlEscape(row.Trimmed(team_event ? u"比赛团队" : u"运动员"));
  Text team = HtmlEscape(row.Trimmed(u"代表队"));
  if (guest) (team_event ? team : name) += kGuestMark;
  out += Cell(HtmlEscape(row.Trimmed(u"编号")));
  out += Cell(name);
  out += Cell(team);
  out += Cell(HtmlEscape(row.Str(u"比赛组次")));
  out += Cell(HtmlEscape(row.Str(u"比赛道次")));
  return out;
}

// One text input of the entry form. `dot` and `length` go to the key
// handler; `max_length` limits what can be typed.
struct EntryInput {
  const char16_t* css_class;
  Text width;  // CSS width, "20px"
  int dot;
  int length;
  int max_length;
  Text name;   // prefix; the entry number follows
  Text value;
};

Text KeyHandler(int dot, int length, int16_t zngy) {
  return u"onKeyDownDefault(this," + LongToText(dot) + u"," + LongToText(length) + u"," +
         LongToText(zngy) + u")";
}

// Marks are digits only: phones show the digit pad and a paste with
// anything else is refused (the save checks every mark again).
const char16_t kDigitsOnly[] =
    u" inputmode=numeric onpaste='return /^[\\s0-9\uFF10-\uFF19]*$/.test((event.clipboardData||window.clipboardData)"
    u".getData(\"text\"))'";

Text TextInput(const EntryInput& in, TextView number, int16_t zngy) {
  const bool mark = in.name.rfind(u"playcj_", 0) == 0;
  return u"<input type=text class=" + Text(in.css_class) + u" style='width:" + in.width +
         u"' maxlength=" + LongToText(in.max_length) + (mark ? Text(kDigitsOnly) : Text()) + u" onkeydown='" +
         KeyHandler(in.dot, in.length, zngy) + u"' onfocus='this.select()' name='" + in.name +
         Text(number) + u"' value='" + HtmlEscape(in.value) + u"'>";
}

Text Px(int n) { return LongToText(n) + u"px"; }

// The result inputs of a stored result `r`, by the layout the event stores
// its results in, each followed by its unit text.
Text ResultInputs(const PlayRow& row, const EntryRowOptions& o, TextView number) {
  const Text custom = row.Trimmed(u"自定义格式");
  const Text kind = row.Str(u"径赛田赛");
  const Text r = row.Str(u"比赛成绩");
  struct Part {
    EntryInput input;
    Text unit;
  };
  auto part = [&](const char16_t* css, int width, int length, int slot, Text value, Text unit) {
    return Part{{css, Px(width), 1, length, length, u"playcj_" + LongToText(slot) + u"_", std::move(value)},
                std::move(unit)};
  };
  auto right = [&](int start, int size, int keep) {
    return Right(Text(size, u' ') + Trim(Mid(r, start, size)), keep);
  };
  auto left = [&](int keep) { return Left(Trim(Mid(r, 7, 3)) + u"   ", keep); };

  std::vector<Part> parts;
  switch (LayoutOf(custom, kind, o.edition, o.time_style)) {
    case ResultLayout::kCustom: {
      const int digits = static_cast<int>(std::count(custom.begin(), custom.end(), u'#'));
      parts.push_back(part(u"inputcj1", digits * 10, digits, 1, Trim(r),
                           automation::Replace(custom, u"#", u"")));
      break;
    }
    case ResultLayout::kCombinedTotal:
      parts.push_back(part(u"inputcj1", 40, 4, 1, Trim(r), u"分"));
      break;
    case ResultLayout::kField:
      parts.push_back(part(u"inputcj2", 20, 2, 1, right(1, 6, 2), u"．"));
      parts.push_back(part(u"inputcj2", 20, 2, 2, left(2), u"米"));
      break;
    case ResultLayout::kTimeWithHours:
      parts.push_back(part(u"inputcj1", 20, 2, 1, right(1, 2, 2), u"："));
      parts.push_back(part(u"inputcj1", 20, 2, 2, right(3, 2, 2), u"："));
      parts.push_back(part(u"inputcj1", 20, 2, 3, right(5, 2, 2), u"．"));
      parts.push_back(part(u"inputcj1", 30, 3, 4, left(3), u""));
      break;
    case ResultLayout::kTime:
      parts.push_back(part(u"inputcj1", 20, 2, 1, right(1, 4, 2), u"’"));
      parts.push_back(part(u"inputcj1", 20, 2, 2, right(5, 2, 2), u"”"));
      parts.push_back(part(u"inputcj1", 20, 2, 3, left(2), u""));
      break;
  }
  Text out;
  for (const Part& p : parts) out += TextInput(p.input, number, o.zngy) + HtmlEscape(p.unit);
  return out;
}

// The value shown or typed as a combined event's points: a sub-event row's
// points, or the combined row's own total.
Text CombinedPoints(const PlayRow& row) {
  return row.Trimmed(u"径赛田赛") == kCombinedKind ? row.Trimmed(u"比赛成绩") : row.Str(u"比赛得分");
}

// An entrant without a result has no place: the ranking still orders such
// entrants (after everyone with a result, sharing one place), and a place
// of 0 is none at all; both are shown as nothing rather than as a place.
Text ShownPlace(const PlayRow& row, TextView column) {
  const Text t = row.Trimmed(column);
  const auto v = automation::ParseNumber(t);
  return (v && *v <= 0) || IsEmptyResult(row.Str(u"比赛成绩")) ? Text() : t;
}

// Points as the list shows them (9.0 as 9); nothing for an entrant without
// a place whose points are 0.
Text ShownPoints(const PlayRow& row) {
  const Text t = row.Trimmed(u"比赛得分");
  const auto v = automation::ParseNumber(t);
  if (ShownPlace(row, u"比赛名次").empty() && (t.empty() || (v && *v == 0))) return {};
  return automation::Replace(t, u".0", u"");
}

}  // namespace

Text EntryRow(Variant& rs, const EntryRowOptions& o) {
  const PlayRow row(rs);
  const bool places = o.places_mode == 1;
  const Text number = row.Trimmed(u"编号");
  const Text html_number = HtmlEscape(number);
  Text out = RowStart(row, u"25px", o.row, o.mark_guests == 1);

  out += u"<td valign=top>";
  if (places) {
    out += HtmlEscape(FormatResult(row.Str(u"径赛田赛"), row.Trimmed(u"自定义格式"),
                                   row.Str(u"比赛成绩"), o.edition, o.time_style));
  } else {
    out += ResultInputs(row, o, html_number);
  }
  out += u"</td>";

  const bool combined = row.Str(u"参赛项目").find(kCombinedKind) != Text::npos;
  if (places) {
    out += Cell(TextInput({u"inputcj1", u"20px", 1, 2, 2, u"playmc_", row.Str(u"比赛名次")}, html_number, o.zngy));
    out += Cell(TextInput({u"inputcj1", u"20px", 1, 2, 2, u"playzmc_", row.Str(u"比赛组名次")}, html_number, o.zngy));
    // Combined points run to four digits, so the box takes four.
    if (combined) {
      out += Cell(TextInput({u"inputcj1", u"40px", 1, 4, 4, u"playqnf_", CombinedPoints(row)}, html_number, o.zngy));
    }
  } else {
    out += Cell(HtmlEscape(ShownPlace(row, u"比赛名次")));
    out += Cell(HtmlEscape(ShownPlace(row, u"比赛组名次")));
    if (combined) out += Cell(HtmlEscape(CombinedPoints(row)));
  }

  if (places && o.stage == kFinal) {
    out += Cell(TextInput({u"inputcj2", u"30px", 0, 4, 4, u"playdf_", row.Str(u"比赛得分")}, html_number, o.zngy));
    const int16_t points = row.Flag(u"集体项目") ? o.record_points_team : o.record_points;
    // The entry number reaches the script as a string literal inside a
    // single-quoted attribute.
    out += Cell(u"<input type=checkbox class=inputcj1 onkeydown='" + KeyHandler(0, 4, o.zngy) +
                u"' onclick='get_df(\"" + HtmlEscape(page::ScriptString(number)) + u"\"," +
                LongToText(points) + u")' name='playpjl_" + html_number + u"' value='on'" +
                (row.Flag(u"比赛破记录") ? u" checked " : u"") + u">");
  }
  out += u"</tr>";
  return out;
}

Text QueryRow(Variant& rs, const QueryRowOptions& o) {
  const PlayRow row(rs);
  Text out = RowStart(row, u"20px", o.row, o.mark_guests == 1);
  Text kind = row.Trimmed(u"径赛田赛");
  const Text sub_event = row.Trimmed(u"参赛子项目");
  // A sub-event of a combined event is shown as a run or a field event; the
  // combined row itself (no sub-event) keeps its points total.
  if (kind == kCombinedKind && !sub_event.empty()) {
    kind = sub_event.find(u"米") != Text::npos ? kTrackKind : kFieldKind;
  }
  out += Cell(HtmlEscape(FormatResult(kind, row.Trimmed(u"自定义格式"), row.Str(u"比赛成绩"),
                                      o.edition, o.time_style)));
  out += Cell(HtmlEscape(ShownPlace(row, u"比赛名次")));
  out += Cell(row.Flag(u"比赛破记录") ? u"√" : u"");
  if (o.stage == kFinal) {
    out += Cell(HtmlEscape(ShownPoints(row)));
  }
  out += u"</tr>";
  return out;
}

}  // namespace arenix::meet
