// The rows of the result-entry form and of the public result query: one
// table row per Play row of the record set the page loops over.
//
// The entry row holds the inputs whose names result entry reads back:
// playcj_1_ .. playcj_4_ + 编号 (the parts of a result, by the event's stored
// layout), and in places mode playmc_, playzmc_, playqnf_ (combined events),
// playdf_ and playpjl_ (final) + 编号. Every input calls the entry script's
// onKeyDownDefault (entry_script.h) on key down.
//
// Names, delegations, entry numbers and results come from the database and
// are HTML-escaped wherever they land (cells, attribute values, and the
// entry number inside the points script call).
#pragma once

#include <cstdint>

#include "automation/variant.h"

namespace arenix::meet {

using automation::Text;
using automation::TextView;
using automation::Variant;

struct EntryRowOptions {
  int16_t edition = 1;             // p_SportsPubbb
  int16_t places_mode = 0;         // p_BsJg: 1 = places typed by hand
  int16_t row = 1;                 // p_Sn, for the row colours
  int16_t stage = 1;               // p_Sc: 4 = final
  int16_t zngy = 0;                // p_Zngy: 1 = move on when a field is full
  int16_t record_points = 0;       // p_PjlDf
  int16_t record_points_team = 0;  // p_PjlDfTt
  int16_t time_style = 1;          // p_JssjStyle
  int16_t mark_guests = 0;         // p_QyBwdy: 1 = mark out-of-competition entrants
};

/// CommShowListSub: the entry row of the record set's current row.
Text EntryRow(Variant& rs, const EntryRowOptions& options);

struct QueryRowOptions {
  int16_t edition = 1;      // p_SportsPubbb
  int16_t row = 1;          // p_Count
  int16_t time_style = 1;   // p_JssjStyle
  int16_t mark_guests = 0;  // p_QyBwdy
  int16_t stage = 1;        // p_Sc: 4 = final, which adds the points
};

/// CommShowWlcxItem: the read-only row of the result query.
Text QueryRow(Variant& rs, const QueryRowOptions& options);

}  // namespace arenix::meet
