// Stage field decomposition: before a page lists or edits a stage, the
// stage's packed field is unpacked into Play's current-stage columns and the
// sort keys and ordering places are refreshed (CommBsxxFenjie); a page that
// only reads can select the unpacked values directly instead
// (CommsGetBsFenjieXxString). Both read stage 0 as the final.
#pragma once

#include <vector>

#include "automation/variant.h"

namespace arenix::meet {

using automation::Text;
using automation::TextView;
using automation::Variant;

/// The statements of the decomposition, in order, each ending in
/// " Where " + where:
///   1. unpack the stage's field into 比赛序号 ... 比赛详情;
///   2. 排序成绩 = 比赛成绩 with blanks turned into "0";
///   3. 排序成绩 = "999999999" where it is "000000000" on a timed row
///      (edition 2, kind 径赛, or a combined-event run: sub-event with 米);
///   4. 排序名次 = 9999 for place 0, else the place.
/// `where` is the caller's condition on Play, inserted as given. Raises 5
/// for a stage outside 0 to 4.
std::vector<Text> UnpackStageStatements(TextView where, int stage, int edition);

/// CommBsxxFenjie: executes UnpackStageStatements on the connection `conn`.
/// A statement the engine refuses raises its error; the ones before it stay
/// applied.
void UnpackStage(Variant& conn, TextView where, int stage, int edition);

/// CommsGetBsFenjieXxString: the select list of the stage's values
/// (StageFieldSelectList of its field). Raises 5 for a stage outside 0 to 4.
/// Example: StageSelectList(0) starts
///   "Cast(Int(Val(SubStr(决赛信息,1,4))) As I) As 比赛序号,".
Text StageSelectList(int stage);

}  // namespace arenix::meet
