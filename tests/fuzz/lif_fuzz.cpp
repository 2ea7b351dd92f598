// The camera's result file with whatever bytes an upload or the watched
// folder may hold: decoding, reading and the check against a start list
// never fail, and a file that is read has a positive event, round and heat,
// times that are never negative and results within the stored format.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "arenix/timing/heat_check.h"
#include "arenix/timing/lif_file.h"

using namespace arenix::timing;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::vector<StartEntry> stage = {
      {u"1", u"甲", u"队", 1, 1}, {u"2", u"乙", u"队", 1, 2}, {u"3", u"丙", u"队", 2, 1}};
  const LifParse p = ParseLif(DecodeTimingBytes({reinterpret_cast<const char*>(data), size}));
  if (!p.file) {
    if (p.error.empty()) std::abort();
    return 0;
  }
  const LifHeader& h = p.file->header;
  if (h.event <= 0 || h.round <= 0 || h.heat <= 0) std::abort();
  for (const LifAthlete& a : p.file->athletes)
    if (a.thousandths && *a.thousandths < 0) std::abort();
  const HeatCheck c = CheckHeat(*p.file, stage, true);
  for (const CheckedRow& r : c.rows)
    if (r.hundredths < -1 || r.hundredths > 99 * 6000 + 5999) std::abort();
  return 0;
}
