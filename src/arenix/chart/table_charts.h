// Charts drawn straight into a page as vector markup (VML): 3-D bars, lines
// with a legend, pies, and curves whose series the reader switches on and
// off. Each chart is one markup text built from the two-dimensional array
// the page fills (first index the item); coordinates are page pixels from
// `left`/`top`, and `top` is a text written as given where it stands alone.
//
// Failures: no items, or a pie summing to 0, raise 11; sums beyond the
// 16-bit range (pie totals) 6; values that are not numbers 13; a chart less
// than 3 pixels high (or wide, for horizontal bars) 5.
#pragma once

#include <cstdint>

#include "automation/text.h"
#include "automation/variant.h"

namespace arenix::chart {

using automation::Text;
using automation::TextView;
using automation::Variant;

/// The page head that switches the vector language on; written once, before
/// any chart.
Text TableChartHeader();

/// 3-D bars: row i holds (value, label). `type` "A" draws columns, "B" bars
/// from the left; any other type only the background and the two axes.
Text TableChart1(const Variant& table, int16_t left, TextView top, int16_t thickness, int16_t bar_width,
                 int16_t width, int16_t height, TextView type);

/// Lines: (i, j) is series j at point i, (i, 0) the point's label, (0, j)
/// the series' "colour,weight,dash code,marker code,name".
Text TableChart2(const Variant& table, int16_t left, TextView top, int16_t width, int16_t height,
                 int16_t series);

/// Pie: row i holds (value, label). `type` "A" adds a legend with
/// percentages, "B" leader lines to labels around the pie.
Text TableChart3(const Variant& table, int16_t left, TextView top, int16_t width, int16_t height,
                 TextView type);

/// Curves: (0, 1) the x labels joined by ","; row i the series' values joined
/// by "," and its name. Series 1 shows at load; the legend rows show the
/// others on hover and keep them on click.
Text TableChart4(const Variant& table, int16_t left, TextView top, int16_t width, int16_t height,
                 TextView title, TextView x_title, TextView y_title);

}  // namespace arenix::chart
