#include "arenix/chart/chart_values.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "automation/coerce.h"
#include "automation/error.h"

namespace arenix::chart {

Text PlainNumber(double x) {
  if (!std::isfinite(x)) automation::ThrowOverflow();
  if (x == 0) return u"0";
  // Fifteen significant digits by the C library's rounding, then placed
  // around the decimal point by hand so that no exponent is ever written.
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.14e", std::fabs(x));
  std::string digits;
  const char* p = buf;
  for (; *p && *p != 'e'; ++p)
    if (*p != '.') digits += *p;
  const int exponent = std::atoi(p + 1);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  std::string out;
  if (exponent >= 0) {
    const size_t whole = static_cast<size_t>(exponent) + 1;
    if (digits.size() <= whole) {
      out = digits + std::string(whole - digits.size(), '0');
    } else {
      out = digits.substr(0, whole) + "." + digits.substr(whole);
    }
  } else {
    out = "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
  }
  if (x < 0) out = "-" + out;
  return Text(out.begin(), out.end());
}

namespace {
const automation::Array& TwoDimensional(const Variant& v) {
  if (!v.IsArray() || v.array().columns <= 0) automation::ThrowTypeMismatch();
  return v.array();
}
}  // namespace

TableArray::TableArray(const Variant& v) : a_(TwoDimensional(v)) {}

int32_t TableArray::Rows() const { return a_.ubound(); }

int32_t TableArray::Items() const {
  if (Rows() < 1) ThrowNothingToDraw();
  return Rows();
}

const Variant& TableArray::Cell(int32_t row, int32_t column) const {
  const int64_t r = static_cast<int64_t>(row) - a_.lbound;
  const int64_t c = static_cast<int64_t>(column) - a_.lbound2;
  const int64_t rows = static_cast<int64_t>(a_.items.size()) / a_.columns;
  if (r < 0 || r >= rows || c < 0 || c >= a_.columns) throw automation::Error(automation::err::kSubscript);
  return a_.items[static_cast<size_t>(r * a_.columns + c)];
}

double TableArray::Number(int32_t row, int32_t column) const { return automation::CDbl(Cell(row, column)); }

Text TableArray::Label(int32_t row, int32_t column) const { return automation::CStr(Cell(row, column)); }

namespace {
constexpr const char16_t* kLight[7] = {u"#d1ffd1", u"#ffbbbb", u"#ffe3bb", u"#cff4f3",
                                       u"#d9d9e5", u"#ffc7ab", u"#ecffb7"};
constexpr const char16_t* kStrong[7] = {u"#00ff00", u"#ff0000", u"#ff9900", u"#33cccc",
                                        u"#666699", u"#993300", u"#99cc00"};
int PaletteIndex(int32_t item) { return static_cast<int>(((static_cast<int64_t>(item) - 1) % 7 + 7) % 7); }
}  // namespace

Text LightColour(int32_t item) { return kLight[PaletteIndex(item)]; }
Text StrongColour(int32_t item) { return kStrong[PaletteIndex(item)]; }

double ScaleTop(double m) {
  if (m < 10) return m > 4 ? 10 : 5;
  const std::u16string t = PlainNumber(m);
  const double p = std::pow(10.0, static_cast<double>(t.size() - 1));
  const int d = t[1] - u'0';
  return (std::floor(m / p) + (d > 4 ? 1.0 : 0.5)) * p;
}

int32_t GridStep(const char16_t* method, double extent) {
  const double step = automation::RoundHalfEven(extent / 5);
  if (!(step >= 1))
    throw automation::Error(automation::err::kInvalidCall,
                            Text(method) + u": the chart must be at least 3 pixels high (or wide for horizontal bars)");
  return static_cast<int32_t>(step);
}

void ThrowNothingToDraw() { throw automation::Error(automation::err::kDivisionByZero); }

}  // namespace arenix::chart
