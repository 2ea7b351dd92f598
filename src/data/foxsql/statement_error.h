// Errors of statements: every failure while translating or running a
// statement names the statement, so that the page (or the person at the
// command line) sees which one the database refused.
#pragma once

#include "automation/error.h"

namespace data::foxsql {

using automation::Text;
using automation::TextView;

/// The number the provider gave a statement it could not run (a syntax
/// error, an unknown column or function...).
inline constexpr int kStatementError = -2147217900;

/// "<message> in statement: <statement>"
Text QuoteStatement(TextView message, TextView statement);

/// Raises kStatementError with the message and the statement.
[[noreturn]] void ThrowStatementError(TextView message, TextView statement);

/// The same error (number kept) with the statement appended.
automation::Error WithStatement(const automation::Error& e, TextView statement);

}  // namespace data::foxsql
