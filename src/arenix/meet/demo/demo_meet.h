// The sample meet: a complete meet database written as free tables, for
// trying the web module, for tests and for benchmarks. Three age groups,
// six delegations, track, field, relay, custom-format and combined events,
// every entrant registered in events of its age group and sex, and the
// first stage of every event drawn (heats, lanes, running order).
//
// The contents are the same on every run (a fixed pseudo-random sequence).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace arenix::meet::demo {

struct DemoOptions {
  /// Replace the meet's tables in a folder that already holds tables.
  bool force = false;
};

struct WrittenTable {
  std::string file;       // "Play.dbf"
  std::string memo_file;  // "xtsz.fpt", or empty
  uint32_t rows = 0;
};

/// Writes the sample meet into the folder `dir` (a native path; made when
/// missing). Raises 58 when the folder already holds tables (.dbf) and
/// `force` is not set; with `force` the meet's tables are replaced (with a
/// stale .cdx of theirs removed) and other files are left alone.
std::vector<WrittenTable> WriteDemoMeet(const std::string& dir, const DemoOptions& options = {});

}  // namespace arenix::meet::demo
