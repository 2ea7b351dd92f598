// The statements of result entry, run on the page's connection and record
// set as the page would run them: writes and single values through the
// connection's Execute, row reads through the record set (opened keyset and
// read-only, read whole and closed again).
#pragma once

#include <cstdint>
#include <vector>

#include "automation/variant.h"

namespace arenix::meet {

using automation::Text;
using automation::TextView;
using automation::Variant;

/// Rows read by one query, with the columns found by name.
struct WldfRows {
  std::vector<Text> names;
  std::vector<std::vector<Variant>> rows;

  size_t size() const { return rows.size(); }
  bool empty() const { return rows.empty(); }
  /// The position of a column (names compare without case); 3265 when
  /// there is none.
  size_t Column(TextView name) const;
  const Variant& At(size_t row, TextView name) const { return rows.at(row).at(Column(name)); }
};

class WldfDb {
 public:
  /// REQUIRES: `conn` holds a connection; `rs` a record set (424 otherwise).
  WldfDb(Variant& conn, Variant& rs);

  /// Runs a write; the records it affected.
  int32_t Exec(TextView sql);
  /// Runs a query through the record set and reads all its rows.
  WldfRows Read(TextView sql);
  /// The first field of the first row of a query; Empty when there is none.
  Variant Scalar(TextView sql);

  Variant& conn() { return conn_; }

 private:
  Variant& conn_;
  Variant& rs_;
};

/// A number as a statement writes it: 5, 5.5, -1.
Text SqlNumber(double value);

}  // namespace arenix::meet
