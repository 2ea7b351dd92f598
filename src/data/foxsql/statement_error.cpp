#include "data/foxsql/statement_error.h"

namespace data::foxsql {

Text QuoteStatement(TextView message, TextView statement) {
  Text out(message);
  out += u" in statement: ";
  out += statement;
  return out;
}

void ThrowStatementError(TextView message, TextView statement) {
  throw automation::Error(kStatementError, QuoteStatement(message, statement));
}

automation::Error WithStatement(const automation::Error& e, TextView statement) {
  return automation::Error(e.number(), QuoteStatement(e.description(), statement));
}

}  // namespace data::foxsql
