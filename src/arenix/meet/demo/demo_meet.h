// The sample meet: a complete meet database written as free tables, for
// trying the web module, for tests and for benchmarks. Three age groups,
// six delegations, track, field, relay, custom-format and combined events,
// every entrant registered in events of its age group and sex, and the
// first stage of every event drawn (heats, lanes, running order). For online
// registration, Ydybm also holds empty rows (IDs "N" + delegation + age
// group + two digits: N1101 ... N1108, N1201 ..., N2101 ..., N2201 ...) of
// the first two delegations (第一中学, 第二中学) in the first two age groups
// (高中组, 初中组), and Item a relay open for registration only
// (4×400米接力: 限报人数 8, 团体人数 4, so two team entries _A and _B) beside
// 4×100米接力 (限报人数 = 团体人数 = 4: one entry) and the combined event
// 四项全能 (限报人数 1).
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
