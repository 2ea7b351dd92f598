// Whole numbers as hexadecimal and binary digits; minimum and maximum.
#pragma once

#include "automation/text.h"
#include "automation/variant.h"

namespace arenix::text {

using automation::Currency;
using automation::Text;

/// Upper-case hexadecimal digits of a positive value; zero and negative
/// values give the empty text. A fraction stays on the last digit (17.5
/// gives "11.5"). Example: DecToHex(255) == u"FF".
Text DecToHex(Currency value);

/// Binary digits of a positive value, rounded to a whole number (halves to
/// even) at each step; zero and negative values give the empty text, 0.5 or
/// less gives "0"; beyond the 32-bit range raises overflow (6).
Text DecToBin(Currency value);

/// The smaller (larger) of two numbers.
double Min(double a, double b);
double Max(double a, double b);

}  // namespace arenix::text
