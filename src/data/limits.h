// Every bound of the data layer's caches in one place: what a process keeps
// between statements and between pages, so that its memory stays flat
// however long the server runs.
#pragma once

#include <cstddef>

namespace data::limits {

/// Idle engine connections (an SQLite handle with its functions, declared
/// tables and prepared statements) a thread keeps for its next page; a
/// connection given back beyond this is closed.
inline constexpr size_t kPooledConnectionsPerThread = 4;
/// Prepared statements one pooled connection keeps, by their text; the
/// least recently used one is dropped beyond this.
inline constexpr size_t kPreparedStatementsPerConnection = 64;
/// Statements one connection keeps translated, by their text (all dropped
/// at once when it is full: pages run the same few again and again).
inline constexpr size_t kTranslationsPerConnection = 256;

}  // namespace data::limits
