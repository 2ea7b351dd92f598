// The result list of one event and stage exported as a real spreadsheet,
// as the result page offers it: Server.CreateObject("Arenix.ResultSheet").
//
//   Send(Response, Rs, title, edition, time_style, stage)
//
// reads every row of the open record set (Play rows with the stage's
// columns, in list order) and sends an .xlsx file as the response: entry
// number, name (the team of a team event), delegation, heat, lane, the mark
// as shown, the mark as a number (seconds for times, metres for field
// events) a spreadsheet sorts, the place, the record mark and, in the final
// (stage 4), the points. An entrant without a result or a place has empty
// cells there, never 0. The page closes its data and ends the response
// after the call.
#pragma once

namespace web {

/// Registers "Arenix.ResultSheet" (idempotent).
void RegisterResultSheetClass();

}  // namespace web
