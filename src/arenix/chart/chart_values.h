// What the vector-markup charts share: the plain decimal numbers they write,
// the table array the page fills, the palettes and the scale top.
#pragma once

#include <cstdint>

#include "automation/text.h"
#include "automation/variant.h"

namespace arenix::chart {

using automation::Text;
using automation::TextView;
using automation::Variant;

/// A computed coordinate or label as markup needs it: up to 15 significant
/// digits, "." as decimal point, never an exponent or grouping ("-0" is
/// "0"). Example: PlainNumber(1e20) == u"100000000000000000000",
/// PlainNumber(0.1 + 0.2) == u"0.3", PlainNumber(1.5e-7) == u"0.00000015".
/// A number that is not finite raises 6 (overflow).
Text PlainNumber(double x);

/// The two-dimensional array a page passes by reference; the first index
/// runs over the items (rows). Raises 13 unless the variant holds a
/// two-dimensional array.
class TableArray {
 public:
  explicit TableArray(const Variant& v);
  /// The upper bound of the first dimension: the number of items.
  int32_t Rows() const;
  /// Rows(), raising 11 when there are no items to draw.
  int32_t Items() const;
  /// The cell (row, column); 9 when out of range.
  const Variant& Cell(int32_t row, int32_t column) const;
  /// The cell as a number (13 when it is not one; Empty is 0).
  double Number(int32_t row, int32_t column) const;
  /// The cell as text.
  Text Label(int32_t row, int32_t column) const;

 private:
  const automation::Array& a_;
};

/// Palette entry of item i (1-based): "#d1ffd1"-style light colour and the
/// strong colour; item 8 takes the colours of item 1.
Text LightColour(int32_t item);
Text StrongColour(int32_t item);

inline constexpr char16_t kAxisColour[] = u"#69f";
inline constexpr int kMargin = 70;

/// The top of the value scale for a largest value m already reduced to a
/// whole number: 57 -> 60, 52 -> 55, 100 -> 150, 3 -> 5.
double ScaleTop(double m);

/// The grid step round(extent / 5) of a chart `extent` pixels high (or
/// wide), refused with 5 when it would not advance: extents below 3 pixels
/// would loop for ever.
int32_t GridStep(const char16_t* method, double extent);

/// Raises 11 (division by zero): a chart without items or a pie summing to 0.
[[noreturn]] void ThrowNothingToDraw();

}  // namespace arenix::chart
