#include "data/sql_text.h"

namespace data {

automation::Text SqlText(automation::TextView value) {
  automation::Text out;
  out.reserve(value.size() + 2);
  out += u'\'';
  for (char16_t c : value) {
    out += c;
    if (c == u'\'') out += u'\'';
  }
  out += u'\'';
  return out;
}

}  // namespace data
