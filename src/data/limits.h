// Every bound of the data layer's caches in one place: what a process keeps
// between statements and between pages, so that its memory stays flat
// however long the server runs.
#pragma once

#include <cstddef>
#include <cstdint>

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

/// Tables whose text columns a process keeps decoded (the least recently
/// used is dropped beyond this), and the most decoded bytes one table may
/// hold (a larger one is decoded record by record instead).
inline constexpr size_t kDecodedTables = 16;
inline constexpr size_t kDecodedBytesPerTable = 8u << 20;
/// How long after its last change (modification or status time) a table's
/// texts may be kept decoded, or a result read from it kept: well past the
/// file system's clock tick.
inline constexpr int64_t kDecodedSettleNs = 200'000'000;

/// Query results a process keeps for the next statement that asks the same
/// (the least recently used dropped beyond either bound).
inline constexpr size_t kResultsKept = 512;
/// The most bytes all kept query results take together.
inline constexpr size_t kResultBytesKept = 64u << 20;
/// The most bytes one kept query result may take (a larger one is not kept).
inline constexpr size_t kResultBytesEach = 8u << 20;

/// The spellings of field names one record set remembers the columns of
/// (a name spelled otherwise is looked up among the columns again).
inline constexpr size_t kFieldSpellingsKept = 64;

/// The most a thread keeps, from one row to the next, of the buffers in
/// which the engine's function steps build texts (a padded slice).
inline constexpr size_t kStepBufferBytes = 64u << 10;

}  // namespace data::limits
