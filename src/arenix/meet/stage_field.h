// The packed stage field of Play (预赛信息, 次赛信息, 复赛信息, 决赛信息): the
// current-stage columns of one stage in 237 positions, so that each row
// carries every stage it runs in. Positions count code page 936 bytes, as
// the table stores the field and the statements' SubStr and PADL count
// them: a Chinese grade or team name takes two positions a character.
//
//   pos  width  column       written as                      read as
//   1    4      比赛序号     number right-aligned (Str)      Int(Val())
//   5    4      比赛组次     number                          Int(Val())
//   9    4      比赛道次     number                          Int(Val())
//   13   6      比赛组人数   trimmed text right-aligned      trimmed text
//   19   9      比赛成绩     the stored result as it is      the 9 positions
//   28   4      比赛名次     number                          Int(Val())
//   32   4      比赛组名次   number                          Int(Val())
//   36   6      比赛得分     Str(x,6,1)                      Val rounded to 0.1
//   42   8      比赛等级     trimmed text right-aligned      trimmed text
//   50   60     比赛团队     trimmed text right-aligned      trimmed text
//   110  1      比赛晋级     "T" or "F"                      upper-cased == "T"
//   111  1      比赛破记录   "T" or "F"                      upper-cased == "T"
//   112  10     比赛检录     trimmed text right-aligned      trimmed text
//   122  10     比赛备注     trimmed text right-aligned      trimmed text
//   132  6      比赛风速     trimmed text right-aligned      trimmed text
//   138  100    比赛详情     trimmed text right-aligned      trimmed text
//
// Right-aligned items that are too long keep their rightmost positions
// (PADL); a two-byte character cut in half leaves "?" for the half kept.
// Seeding writes positions 1-18 (or 1-35) of the next stage's field; result
// entry keeps 1-18 of the current one and rewrites 19-237.
//
// The same layout exists three times in three forms, all built from the
// table in stage_field.cpp: PackStageField / UnpackStageField in C++, and
// the statement texts StageFieldPackExpression / StageFieldUnpackSet /
// StageFieldSelectList that do the same inside the engine.
#pragma once

#include <cstdint>
#include <span>

#include "automation/text.h"

namespace arenix::meet {

using automation::Text;
using automation::TextView;

inline constexpr int kStageFieldWidth = 237;
/// Positions 1-18 (running order, heat, lane, heat information) belong to
/// the draw; result entry keeps them.
inline constexpr int kStageFieldDrawWidth = 18;

/// The current-stage columns of Play, as one stage field carries them.
struct StageColumns {
  int32_t order = 0;       // 比赛序号 (heat x 100 + lane)
  int32_t heat = 0;        // 比赛组次, 0 = not in this stage
  int32_t lane = 0;        // 比赛道次, -1 = no lane
  Text heat_info;          // 比赛组人数: 3 digits heats, 3 digits entrants
  Text result;             // 比赛成绩: the 9-character stored result
  int32_t place = 0;       // 比赛名次, 0 = no place
  int32_t heat_place = 0;  // 比赛组名次
  double points = 0;       // 比赛得分, one decimal
  Text grade;              // 比赛等级
  Text team;               // 比赛团队
  bool advanced = false;   // 比赛晋级
  bool record = false;     // 比赛破记录
  Text call_room;          // 比赛检录
  Text remark;             // 比赛备注
  Text wind;               // 比赛风速
  Text details;            // 比赛详情

  bool operator==(const StageColumns&) const = default;
};

/// How an item of the field is written and read.
enum class StageItemForm {
  kNumber,  // whole number: PADL(Str(n), w) / Int(Val())
  kText,    // PADL(AllTrim(t), w) / AllTrim()
  kResult,  // the stored result, 9 positions as they are
  kPoints,  // PADL(Str(x,6,1),6) / Round(Val(),1)
  kFlag,    // "T"/"F" / Upper() == "T"
};

/// One item of the layout: its Play column, first position (from 1),
/// width and form.
struct StageItem {
  const char16_t* column;
  int start;
  int width;
  StageItemForm form;
};

/// The layout in field order (the table above).
std::span<const StageItem> StageFieldLayout();

/// The width of a current-stage column in the field, which is also the
/// column's width in Play (比赛成绩 -> 9); raises 5 for another name.
int StageItemWidth(TextView column);

/// Where a statement finds a current-stage column's item in the field
/// `field`: StageItemSlice(u"决赛信息", u"比赛名次") == u"SubStr(决赛信息,28,4)".
/// Raises 5 for another column name.
Text StageItemSlice(TextView field, TextView column);

/// The field `field` with a current-stage column's item replaced by
/// `value` (a statement expression as wide as the item), for
/// "Update [Play] Set f=" + StageItemStuff(f, u"比赛成绩", v):
///   STUFF(决赛信息,19,9,v)
Text StageItemStuff(TextView field, TextView column, TextView value);

/// The 237-position field of `columns` (as Text: decoding its code page
/// 936 bytes). Example: a drawn entrant in heat 1, lane 4 of one heat of 8
/// starts " 104   1   4001008".
Text PackStageField(const StageColumns& columns);

/// The columns read back from a field as CommBsxxFenjie reads them. A
/// field shorter than 237 positions reads as if padded with blanks (an
/// empty field gives all zeros, empty texts, a blank result, false flags).
/// The result keeps its 9 positions, blanks included.
StageColumns UnpackStageField(TextView field);

/// Statement expression that rebuilds the field `column` (a stage field
/// column name) from the current-stage columns, keeping its positions 1-18:
///   SubStr(决赛信息,1,18)+比赛成绩+PADL(Str(比赛名次),4)+...+PADL(AllTrim(比赛详情),100)
/// For "Update [Play] Set 决赛信息=" + StageFieldPackExpression(u"决赛信息") + " Where " + filter.
Text StageFieldPackExpression(TextView column);

/// The Set list that unpacks the field `column` into the current-stage
/// columns (for "Update [Play] Set " + StageFieldUnpackSet(f) + " Where ..."):
///   比赛序号=Int(Val(SubStr(f,1,4))), ..., 比赛详情=AllTrim(SubStr(f,138,100))
Text StageFieldUnpackSet(TextView column);

/// The select list that computes the same values from `column` under the
/// current-stage column names (CommsGetBsFenjieXxString), with 排序名次
/// after 比赛名次 (9999 for place 0), cast to the columns' types.
Text StageFieldSelectList(TextView column);

/// Combined events: a parent row's 复赛信息 is a table of sub-event results,
/// 15 positions a slot. Slot i (from 1, the sub-event's place in Item_Sub)
/// starts at (i-1)*15+1 and holds the 9-position stored result, a blank,
/// the points as a whole number right-aligned in 4, a blank.
inline constexpr int kSubEventSlotWidth = 15;
inline constexpr int SubEventSlotStart(int slot) { return (slot - 1) * kSubEventSlotWidth + 1; }
/// Example: SubEventSlot(u"    1185 ", 812) == u"    1185   812 ".
Text SubEventSlot(TextView stored_result, int32_t points);

}  // namespace arenix::meet
