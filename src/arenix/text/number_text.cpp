#include "arenix/text/number_text.h"

namespace arenix::text {

double Min(double a, double b) { return a > b ? b : a; }
double Max(double a, double b) { return a > b ? a : b; }

}  // namespace arenix::text
