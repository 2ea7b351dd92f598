// The chart image: a one-series chart drawn by the chart object that the
// server has installed ("owc11.chartspace") and written as an image file
// that a page then shows. The same idea at two layers: this is the
// component's side, which asks for the chart by its programmatic name;
// platform/chart_image.h is the object that draws it.
#pragma once

#include <cstdint>

#include "automation/text.h"

namespace arenix::chart {

using automation::Text;
using automation::TextView;

/// 0 when the image was written, 1 when the chart object cannot be created,
/// 2 when the chart was built but the image could not be written (unknown
/// filter, size out of range, unwritable path). Categories and values are
/// tab-separated literal lists; values that are not numbers raise 13.
int16_t GraphiWithOwc(TextView categories, TextView values, TextView series_caption, int16_t type,
                      TextView title, int16_t orientation, TextView filter, int16_t width, int16_t height,
                      TextView path);

}  // namespace arenix::chart
