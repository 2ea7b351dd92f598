#include "arenix/meet/stage_field.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "automation/cp936.h"
#include "automation/error.h"
#include "automation/runtime.h"
#include "data/foxsql/functions.h"

namespace arenix::meet {
namespace {

using automation::FromAscii;
using Form = StageItemForm;

// The one table of the layout; every form below is built from it.
constexpr StageItem kLayout[] = {
    {u"比赛序号", 1, 4, Form::kNumber},     {u"比赛组次", 5, 4, Form::kNumber},
    {u"比赛道次", 9, 4, Form::kNumber},     {u"比赛组人数", 13, 6, Form::kText},
    {u"比赛成绩", 19, 9, Form::kResult},    {u"比赛名次", 28, 4, Form::kNumber},
    {u"比赛组名次", 32, 4, Form::kNumber},  {u"比赛得分", 36, 6, Form::kPoints},
    {u"比赛等级", 42, 8, Form::kText},      {u"比赛团队", 50, 60, Form::kText},
    {u"比赛晋级", 110, 1, Form::kFlag},     {u"比赛破记录", 111, 1, Form::kFlag},
    {u"比赛检录", 112, 10, Form::kText},    {u"比赛备注", 122, 10, Form::kText},
    {u"比赛风速", 132, 6, Form::kText},     {u"比赛详情", 138, 100, Form::kText},
};
static_assert(kLayout[15].start + kLayout[15].width - 1 == kStageFieldWidth);

int ByteWidth(char16_t c) { return automation::IsGbkDoubleByte(c) ? 2 : 1; }

// PADL to `width` bytes: blanks on the left, or the rightmost bytes of a
// longer text ("?" for half a character).
Text PadLeftBytes(TextView s, int width) {
  int bytes = 0;
  size_t keep = s.size();
  while (keep > 0 && bytes + ByteWidth(s[keep - 1]) <= width) bytes += ByteWidth(s[--keep]);
  Text out;
  if (keep == 0) {
    out.assign(static_cast<size_t>(width - bytes), u' ');
  } else if (bytes < width) {
    out = u"?";  // the trail half of the character that did not fit
  }
  out.append(s.substr(keep));
  return out;
}

// SubStr by bytes: `count` bytes from byte `start` (from 1), "?" for a half
// character at either end, blanks where the text is shorter.
Text SliceBytes(TextView s, int start, int count) {
  Text out;
  int at = 1, filled = 0;
  for (char16_t c : s) {
    int w = ByteWidth(c);
    int first = std::max(at, start), last = std::min(at + w, start + count);  // [first, last)
    if (last > first) {
      if (last - first == w) {
        out += c;
      } else {
        out += u'?';
      }
      filled += last - first;
    }
    at += w;
    if (at >= start + count) break;
  }
  out.append(static_cast<size_t>(count - filled), u' ');
  return out;
}

std::string Ascii(TextView s) { return automation::ToUtf8(s); }

int32_t IntOfVal(TextView s) {
  double v = std::trunc(data::foxsql::FoxVal(Ascii(s)));
  if (!(v > std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
  if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(v);
}

Text NumberItem(double n, int width, int decimals = 0) {
  return PadLeftBytes(FromAscii(data::foxsql::FoxStr(n, 10, decimals)), width);
}

Text ItemText(const StageColumns& c, int i) {
  const StageItem& it = kLayout[i];
  switch (i) {
    case 0: return NumberItem(c.order, it.width);
    case 1: return NumberItem(c.heat, it.width);
    case 2: return NumberItem(c.lane, it.width);
    case 3: return PadLeftBytes(automation::Trim(c.heat_info), it.width);
    case 4: return SliceBytes(c.result, 1, it.width);
    case 5: return NumberItem(c.place, it.width);
    case 6: return NumberItem(c.heat_place, it.width);
    case 7: return PadLeftBytes(FromAscii(data::foxsql::FoxStr(c.points, 6, 1)), it.width);
    case 8: return PadLeftBytes(automation::Trim(c.grade), it.width);
    case 9: return PadLeftBytes(automation::Trim(c.team), it.width);
    case 10: return c.advanced ? u"T" : u"F";
    case 11: return c.record ? u"T" : u"F";
    case 12: return PadLeftBytes(automation::Trim(c.call_room), it.width);
    case 13: return PadLeftBytes(automation::Trim(c.remark), it.width);
    case 14: return PadLeftBytes(automation::Trim(c.wind), it.width);
    default: return PadLeftBytes(automation::Trim(c.details), it.width);
  }
}

}  // namespace

std::span<const StageItem> StageFieldLayout() { return kLayout; }

namespace {

const StageItem& ItemNamed(TextView column) {
  for (const StageItem& item : kLayout)
    if (column == item.column) return item;
  throw automation::Error(automation::err::kInvalidCall, Text(u"no stage field item named ") + Text(column));
}

}  // namespace

int StageItemWidth(TextView column) { return ItemNamed(column).width; }

Text PackStageField(const StageColumns& columns) {
  Text out;
  for (int i = 0; i < static_cast<int>(std::size(kLayout)); ++i) out += ItemText(columns, i);
  return out;
}

StageColumns UnpackStageField(TextView field) {
  auto item = [&](int i) { return SliceBytes(field, kLayout[i].start, kLayout[i].width); };
  auto text = [&](int i) { return automation::Trim(item(i)); };
  auto flag = [&](int i) { return automation::UCase(item(i)) == u"T"; };
  StageColumns c;
  c.order = IntOfVal(item(0));
  c.heat = IntOfVal(item(1));
  c.lane = IntOfVal(item(2));
  c.heat_info = text(3);
  c.result = item(4);
  c.place = IntOfVal(item(5));
  c.heat_place = IntOfVal(item(6));
  c.points = data::foxsql::FoxRound(data::foxsql::FoxVal(Ascii(item(7))), 1);
  c.grade = text(8);
  c.team = text(9);
  c.advanced = flag(10);
  c.record = flag(11);
  c.call_room = text(12);
  c.remark = text(13);
  c.wind = text(14);
  c.details = text(15);
  return c;
}

namespace {

Text Number(int n) { return FromAscii(std::to_string(n)); }

// SubStr(f,start,width)
Text SubStrOf(TextView column, const StageItem& it) {
  return u"SubStr(" + Text(column) + u"," + Number(it.start) + u"," + Number(it.width) + u")";
}

// The value of an item as the engine reads it out of the field.
Text ReadExpression(TextView column, const StageItem& it) {
  Text s = SubStrOf(column, it);
  switch (it.form) {
    case Form::kNumber: return u"Int(Val(" + s + u"))";
    case Form::kText: return u"AllTrim(" + s + u")";
    case Form::kResult: return s;
    case Form::kPoints: return u"Round(Val(" + s + u"),1)";
    case Form::kFlag: return u"Iif(Upper(" + s + u")=='T',.T.,.F.)";
  }
  return s;
}

}  // namespace

Text StageItemSlice(TextView field, TextView column) { return SubStrOf(field, ItemNamed(column)); }

Text StageItemStuff(TextView field, TextView column, TextView value) {
  const StageItem& it = ItemNamed(column);
  return u"STUFF(" + Text(field) + u"," + Number(it.start) + u"," + Number(it.width) + u"," + Text(value) + u")";
}

Text StageFieldPackExpression(TextView column) {
  Text out = u"SubStr(" + Text(column) + u",1," + Number(kStageFieldDrawWidth) + u")";
  for (const StageItem& it : kLayout) {
    if (it.start <= kStageFieldDrawWidth) continue;
    Text col = it.column, w = Number(it.width);
    out += u"+";
    switch (it.form) {
      case Form::kNumber: out += u"PADL(Str(" + col + u")," + w + u")"; break;
      case Form::kText: out += u"PADL(AllTrim(" + col + u")," + w + u")"; break;
      case Form::kResult: out += col; break;
      case Form::kPoints: out += u"PADL(Str(" + col + u",6,1)," + w + u")"; break;
      case Form::kFlag: out += u"Iif(" + col + u",'T','F')"; break;
    }
  }
  return out;
}

Text StageFieldUnpackSet(TextView column) {
  Text out;
  for (const StageItem& it : kLayout) {
    if (!out.empty()) out += u",";
    out += Text(it.column) + u"=" + ReadExpression(column, it);
  }
  return out;
}

Text StageFieldSelectList(TextView column) {
  Text out;
  for (const StageItem& it : kLayout) {
    Text col = it.column, value = ReadExpression(column, it);
    if (!out.empty()) out += u",";
    switch (it.form) {
      case Form::kNumber:
        // The running order's lane is aliased without "As", as pages have
        // always read it.
        out += u"Cast(" + value + u" As I)" + (col == u"比赛道次" ? u" " : u" As ") + col;
        if (col == u"比赛名次")
          out += u",Cast(Iif(" + value + u"=0,9999," + value + u") As I) As 排序名次";
        break;
      case Form::kText:
      case Form::kResult:
        out += u"Cast(" + value + u" As C(" + Number(it.width) + u")) As " + col;
        break;
      case Form::kPoints: out += u"Cast(" + value + u" As Numeric(6,1)) As " + col; break;
      case Form::kFlag: out += value + u" As " + col; break;
    }
  }
  return out;
}

Text SubEventSlot(TextView stored_result, int32_t points) {
  return SliceBytes(stored_result, 1, 9) + u" " + NumberItem(points, 4) + u" ";
}

}  // namespace arenix::meet
