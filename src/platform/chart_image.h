// The chart-space stand-in: a one-series chart (columns, bars, lines, areas
// or a pie) drawn with cairo and written as a PNG, JPEG or GIF file, with a
// CJK font for titles and labels. The drawing side of the chart image (the
// same idea at two layers): arenix/chart/chart_image.h asks for it by name. Registered under the chart object's
// programmatic name "owc11.chartspace", so that the installed-object test
// and the chart method find it in the one registry.
//
// Chart type codes are the chart-space component's published ones; those
// without a drawing of their own draw as the nearest kind (see ChartKindOf).
//
// Not thread-safe per object; objects are independent.
#pragma once

#include <cstdint>
#include <vector>

#include "automation/object.h"
#include "automation/text.h"

namespace platform {

using automation::Text;
using automation::TextView;

enum class ChartKind { kColumn, kStackedColumn, kBar, kStackedBar, kLine, kLineMarkers, kPie, kExplodedPie, kArea };

/// 0 clustered column, 1 stacked column (2: 100 % stacked), 3 clustered bar,
/// 4 stacked bar (5), 6 line (8, 10, 12, 14, 16), 7 line with markers (9,
/// 11, 13, 15, 17 and the scatter types 21-28), 18 pie (20 and the
/// doughnuts 32, 33), 19 exploded pie, 29 area (30, 31); anything else a
/// clustered column.
ChartKind ChartKindOf(int16_t type);

/// Largest image the stand-in draws: a side and the pixel count.
inline constexpr int kChartMaxSide = 8000;
inline constexpr int64_t kChartMaxPixels = 16'000'000;

class ChartSpace : public automation::Object {
 public:
  Text ClassName() const override { return u"ChartSpace"; }

  /// Literal data lists: items separated by tabs. Values must be numbers
  /// (13 otherwise); an empty list has no items.
  void SetCategories(TextView tab_list);
  void SetValues(TextView tab_list);
  void SetType(int16_t type) { kind_ = ChartKindOf(type); }
  void SetTitle(TextView title) { title_ = Text(title); }
  void SetSeriesCaption(TextView caption) { caption_ = Text(caption); }
  /// 0 draws the value axis from minimum to maximum, 1 from maximum to
  /// minimum.
  void SetOrientation(int16_t orientation) { reversed_ = orientation == 1; }

  /// Draws the chart and writes it to `path` (a physical path, "\" allowed)
  /// as "png", "gif", "jpg" or "jpeg" (any case). False when the filter is
  /// unknown, the size is outside 1..kChartMaxSide (or above
  /// kChartMaxPixels), or the file cannot be written; no partial file is
  /// left behind.
  bool ExportPicture(TextView path, TextView filter, int width, int height) const;

 private:
  ChartKind kind_ = ChartKind::kColumn;
  bool reversed_ = false;
  Text title_, caption_;
  std::vector<Text> categories_;
  std::vector<double> values_;
};

void RegisterChartSpaceClass();

}  // namespace platform
