// What the translator knows of a value's type. SQLite keeps only texts,
// whole numbers, reals and null; a record set uses the kind to give a
// logical column Booleans, a date column dates, and so on.
#pragma once

#include <cstdint>

namespace data::foxsql {

enum class ValueKind : uint8_t {
  kAny,       // not known: as SQLite stores it
  kText,
  kNumber,    // Double
  kInteger,   // Long
  kLogical,   // Boolean (SQLite 0/1)
  kDate,      // Date (SQLite: the serial day number)
  kDateTime,  // Date with a time
  kCurrency,  // Currency (SQLite: the value as a real)
};

}  // namespace data::foxsql
