// The columns of the meet database's tables as the sample meet and the
// tools create them: the tables the competition logic shares (Play,
// PlaySour, Item, Item_Sub, Age, Ydybm, Record, Fcgqn_CjDfDzb, team), the
// lookup tables of the form renderer (Sjzd, BuMen, Part) and the settings
// table xtsz. Widths that the competition logic relies on are taken from
// where that logic defines them (the stored result from stored_result.h,
// the stage fields and the current-stage columns from the stage field
// layout in stage_field.h); the others are chosen wide enough for real
// names.
#pragma once

#include <string>
#include <vector>

#include "data/dbf/schema.h"

namespace arenix::meet {

/// The meet tables in the order the sample meet writes them.
const std::vector<std::string>& MeetTableNames();

/// The fields of a meet table by its name (exact case, as above); raises 5
/// for another name.
std::vector<data::dbf::FieldSpec> MeetTableFields(const std::string& table);

/// Number of event slots (参赛项目1 ... 参赛项目N) of Ydybm.
inline constexpr int kYdybmEventSlots = 5;

}  // namespace arenix::meet
