// Parses one statement of the dialect:
//   Select [Distinct] [Top n] items From tables [joins] [Where] [Group By]
//          [Having] [Union [All] Select...] [Order By x [Asc|Desc], ...]
//   Update t Set col = expr, ... [From tables] [Where ...]
//   Insert Into t [(cols)] Values (...) | Insert Into t Select ...
//   Delete From t [Where ...]
//   Create Table t [Free] (col type[(width[, decimals])] [Null|Not Null], ...)
// A trailing ";" is allowed; anything else after the statement is an error.
#pragma once

#include "data/foxsql/ast.h"

namespace data::foxsql {

/// Raises the statement error (quoting the statement) when it does not parse.
Statement Parse(automation::TextView statement);

}  // namespace data::foxsql
