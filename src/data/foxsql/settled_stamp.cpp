#include "data/foxsql/settled_stamp.h"

#include <algorithm>
#include <chrono>

#include "data/limits.h"

namespace data::foxsql {

int64_t FileClockNow() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch())
      .count();
}

bool Settled(const dbf::ChangeStamp& stamp, int64_t now) {
  const int64_t last = std::max({stamp.mtime_ns, stamp.ctime_ns, stamp.memo_mtime_ns});
  return now - last >= limits::kDecodedSettleNs;
}

}  // namespace data::foxsql
