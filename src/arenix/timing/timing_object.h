// The camera files as the site's pages reach them:
// Server.CreateObject("Arenix.Timing").
//
//   Preview(Request, conn, rs, events)        the file uploaded in the form's
//                                             "lif" field, checked: preview HTML
//   PreviewFile(name, conn, rs, events)       the same for a file of the watched folder
//   Files()                                   the watched folder's result files as a
//                                             list of preview links ("" without a folder)
//   Watching()                                true when a folder is watched
//   Export(conn, rs, "evt" | "ppl")           the start lists for the camera
//   ApplyStatus(conn, rs, Request)            DNS/DNF/DQ and wind of a confirmed file
//
// `events` is the recorder's events joined by "|". The folder and the size
// limits come from the server's settings (ConfigureTiming). A folder is
// read when a page asks, never watched by a thread of its own: a listing
// costs one directory read.
#pragma once

#include <cstddef>
#include <string>

namespace arenix::timing {

struct TimingSettings {
  std::string folder;           // the watched folder; empty: none
  size_t max_file_bytes = 1u << 20;
  size_t max_files_listed = 200;
};

/// Sets what every Arenix.Timing object made from now on uses.
void ConfigureTiming(const TimingSettings& settings);

/// Registers "Arenix.Timing" (idempotent).
void RegisterTimingClass();

}  // namespace arenix::timing
