// Drawing of the chart-space stand-in onto a cairo surface, in the chart
// object's fixed look: grey frame, light blue plot area, bold CJK title,
// value labels in brown, blue grid lines.
#pragma once

#include <cairo.h>

#include <vector>

#include "platform/chart_image.h"

namespace platform::chart_draw {

struct ChartData {
  ChartKind kind;
  bool reversed;
  const Text& title;
  const std::vector<Text>& categories;
  const std::vector<double>& values;
};

/// Draws the whole chart on `cr` over width x height pixels.
void DrawChart(cairo_t* cr, int width, int height, const ChartData& data);

}  // namespace platform::chart_draw
