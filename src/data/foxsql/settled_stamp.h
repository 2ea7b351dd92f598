// When a table's stamp can be trusted. Two writes within one tick of the
// file system's clock leave the same times behind, so a stamp taken just
// after a write may also stand for the next one: what the engine keeps
// about a table between statements (decoded texts, query results) is kept
// only once the table's last change lies safely in the past.
#pragma once

#include <cstdint>

#include "data/dbf/table.h"

namespace data::foxsql {

/// The wall clock as the file times count it (nanoseconds since the epoch).
int64_t FileClockNow();

/// True when the table (and its memo file) last changed at least the
/// settle time (data/limits.h) before `now`.
bool Settled(const dbf::ChangeStamp& stamp, int64_t now);

}  // namespace data::foxsql
