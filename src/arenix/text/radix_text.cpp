#include "arenix/text/radix_text.h"

#include "automation/coerce.h"
#include "automation/runtime.h"

namespace arenix::text {

Text DecToHex(Currency value) {
  using automation::CurrencyFromDouble;
  using automation::CurrencyToDouble;
  Text out;
  while (value.scaled > 0) {
    double v = CurrencyToDouble(value);
    double quotient = automation::Int(v / 16);
    Currency digit = CurrencyFromDouble(v - quotient * 16);
    if (digit.scaled >= 10 * Currency::kScale && digit.scaled <= 15 * Currency::kScale &&
        digit.scaled % Currency::kScale == 0)
      out.insert(out.begin(), static_cast<char16_t>(u'A' + digit.scaled / Currency::kScale - 10));
    else
      out.insert(0, automation::CurrencyToText(digit));
    value = CurrencyFromDouble(quotient);
  }
  return out;
}

Text DecToBin(Currency value) {
  Text out;
  while (value.scaled > 0) {
    int32_t n = automation::CLng(automation::Variant(value));
    out.insert(out.begin(), n % 2 ? u'1' : u'0');
    value = Currency{int64_t{n / 2} * Currency::kScale};
  }
  return out;
}

double Min(double a, double b) { return a > b ? b : a; }
double Max(double a, double b) { return a > b ? a : b; }

}  // namespace arenix::text
