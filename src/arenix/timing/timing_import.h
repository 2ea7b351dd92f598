// A camera file on its way to the results: matched to its event, stage and
// heat, checked against the start list, and shown to the recorder as a
// preview. The preview saves nothing: when the file may be saved it carries
// the entry form of the heat, filled with the file's results, which posts
// to the result entry page and so through the one result save.
#pragma once

#include <memory>
#include <optional>

#include "arenix/timing/heat_check.h"
#include "arenix/timing/timing_meet.h"

namespace arenix::timing {

struct ImportPreview {
  Text source;  // the file's name, as the recorder knows it
  Text error;   // why the file cannot even be matched; empty when it was
  std::optional<LifFile> file;
  std::optional<TimingEvent> event;
  int stage = 0;
  std::vector<StartEntry> stage_entries;
  HeatCheck check;  // points into stage_entries

  ImportPreview() = default;
  ImportPreview(const ImportPreview&) = delete;
  ImportPreview& operator=(const ImportPreview&) = delete;
};

/// Reads and matches a file. `allowed` lists the events the recorder may
/// enter (an event outside it is refused like an unknown one, saying so).
std::unique_ptr<ImportPreview> PreviewImport(meet::WldfDb& db, TextView source, TextView text,
                                             const std::vector<Text>& allowed);

/// The preview as the entry pages show it: what was matched, every row
/// with its differences marked, and either the confirm form or why nothing
/// can be saved. Every value from the file is escaped.
Text PreviewHtml(const ImportPreview& p);

}  // namespace arenix::timing
