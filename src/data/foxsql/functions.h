// The FoxPro functions of the dialect: one table that says, for each name,
// how many arguments it takes, how the translator writes it and which
// SQLite function gives the FoxPro result. Text functions count code page
// 936 bytes (fox_text.h); a Null argument gives Null unless the table says
// otherwise; an argument of the wrong type is an error, as in FoxPro.
//
//   const FunctionSpec* f = FindFunction(u"AllTrim");  // f->sqlite_name == "fox_alltrim"
#pragma once

#include <sqlite3.h>

#include <optional>
#include <span>
#include <string_view>

#include "automation/error.h"
#include "data/foxsql/value_kind.h"

namespace data::foxsql {

/// How the translator writes a call.
enum class FunctionForm {
  kScalar,     // sqlite_name(args), registered from this table
  kAggregate,  // SQLite's own function of that name (max, min, count, sum, avg)
  kIif,        // CASE WHEN a THEN b ELSE c END
  kNvl,        // ifnull(a, b)
  kIsNull,     // (a IS NULL)
  kInList,     // a IN (b, c...)
  kBetween,    // a BETWEEN b AND c
  kInternal,   // no FoxPro name: operators and Cast are written with these
};

class Call;

struct FunctionSpec {
  std::u16string_view name;  // FoxPro name (internal ones: the SQLite name)
  int min_args;
  int max_args;  // -1: no limit
  FunctionForm form;
  ValueKind result;
  const char* sqlite_name;
  void (*body)(Call&);
  bool null_gives_null = true;
};

/// Every function of the dialect, internal ones included.
std::span<const FunctionSpec> FunctionTable();

/// A function by its FoxPro name, without regard to case; like FoxPro, a
/// name may be shortened to its first four letters or more when that
/// leaves one function. Internal functions are not found.
const FunctionSpec* FindFunction(std::u16string_view name);

/// Where a function's error waits for the statement runner, which raises it
/// with its number once SQLite has given up the statement.
struct ErrorSlot {
  std::optional<automation::Error> error;
};

/// True for an SQL function (by the name SQLite knows it by) whose result
/// depends on its arguments alone, so that a statement calling only such
/// functions gives the same rows while its tables are unchanged. A function
/// not listed (the clock, one added later) is taken to depend on more.
bool IsPureFunction(std::string_view sqlite_name);

/// Registers the scalar and internal functions on a connection.
void RegisterFunctions(sqlite3* db, ErrorSlot* errors);

// Number rules shared with the translator and the record layer.

/// FoxPro Round: halves away from zero, after reading the scaled value to
/// 15 digits (so 2.675 rounds to 2.68, as decimal arithmetic would).
double FoxRound(double x, int decimals);
/// FoxPro Val: leading blanks, a sign, digits, a decimal point, digits, an
/// exponent; whatever follows is ignored; no number gives 0.
double FoxVal(std::string_view text);
/// FoxPro Str: right-aligned in `width` with `decimals` decimals, fewer
/// decimals when they do not fit, asterisks when the whole part does not.
std::string FoxStr(double x, int width = 10, int decimals = 0);

}  // namespace data::foxsql
