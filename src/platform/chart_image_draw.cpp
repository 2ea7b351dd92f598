#include "platform/chart_image_draw.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "automation/coerce.h"
#include "automation/text.h"
#include "automation/variant.h"

namespace platform::chart_draw {

namespace {

// The CJK font that stands in for the chart's "黑体" (Debian's
// fonts-wqy-microhei).
constexpr char kFont[] = "WenQuanYi Micro Hei";

struct Rgb {
  double r, g, b;
};
constexpr Rgb FromBytes(int r, int g, int b) { return {r / 255.0, g / 255.0, b / 255.0}; }

constexpr Rgb kFrameBorder = FromBytes(128, 128, 128);
constexpr Rgb kFrameFill = FromBytes(239, 239, 239);
constexpr Rgb kPlotFill = FromBytes(228, 240, 255);
constexpr Rgb kLabelColour = FromBytes(153, 51, 0);
constexpr Rgb kCategoryGrid = FromBytes(175, 220, 255);
constexpr Rgb kValueGrid = FromBytes(111, 195, 255);
constexpr Rgb kSeries = FromBytes(51, 102, 204);
constexpr Rgb kAxis = FromBytes(64, 64, 64);
constexpr Rgb kSlices[] = {FromBytes(51, 102, 204),  FromBytes(220, 57, 18),  FromBytes(255, 153, 0),
                           FromBytes(16, 150, 24),   FromBytes(153, 0, 153),  FromBytes(0, 153, 198),
                           FromBytes(221, 68, 119),  FromBytes(102, 170, 0),  FromBytes(184, 46, 46),
                           FromBytes(49, 99, 149)};

// Point sizes of the look, drawn at 96 pixels per inch.
constexpr double Px(double points) { return points * 96 / 72; }
constexpr double kTitleSize = Px(15), kAxisSize = Px(10), kLabelSize = Px(9);

void SetColour(cairo_t* cr, Rgb c) { cairo_set_source_rgb(cr, c.r, c.g, c.b); }

void Font(cairo_t* cr, double size, bool bold) {
  cairo_select_font_face(cr, kFont, CAIRO_FONT_SLANT_NORMAL, bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, size);
}

// Text placed by its anchor: ax, ay in 0..1 of its box (0.5, 0.5 centred).
void Label(cairo_t* cr, const std::string& text, double x, double y, double ax, double ay) {
  if (text.empty()) return;
  cairo_text_extents_t e;
  cairo_text_extents(cr, text.c_str(), &e);
  cairo_font_extents_t fe;
  cairo_font_extents(cr, &fe);
  const double h = fe.ascent + fe.descent;
  cairo_move_to(cr, x - e.x_advance * ax, y - h * ay + fe.ascent);
  cairo_show_text(cr, text.c_str());
}

std::string Utf8(const Text& t) { return automation::ToUtf8(t); }
std::string NumberText(double v) { return automation::ToUtf8(automation::CStr(automation::Variant(v))); }

// A value axis from `low` to `high` in about five steps of 1, 2 or 5 x 10^k.
struct Scale {
  double low, high, step;
};
Scale NiceScale(double low, double high) {
  low = std::min(low, 0.0);
  high = std::max(high, 0.0);
  if (high - low <= 0) high = low + 1;
  const double raw = (high - low) / 5;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  double step = power;
  for (double m : {1.0, 2.0, 5.0, 10.0})
    if (m * power >= raw) {
      step = m * power;
      break;
    }
  return {std::floor(low / step) * step, std::ceil(high / step) * step, step};
}

struct Box {
  double x, y, w, h;
};

void DrawPie(cairo_t* cr, Box plot, const ChartData& d) {
  double total = 0;
  for (double v : d.values) total += std::max(v, 0.0);
  const double cx = plot.x + plot.w / 2, cy = plot.y + plot.h / 2;
  const double radius = std::max(4.0, std::min(plot.w, plot.h) / 2 - kLabelSize * 2.5);
  if (total <= 0) return;  // nothing to share out: the plot area stays empty
  const bool exploded = d.kind == ChartKind::kExplodedPie;
  double angle = -M_PI / 2;
  Font(cr, kLabelSize, false);
  for (size_t i = 0; i < d.values.size(); ++i) {
    const double v = std::max(d.values[i], 0.0);
    const double sweep = v / total * 2 * M_PI;
    const double mid = angle + sweep / 2;
    const double off = exploded ? radius * 0.08 : 0;
    const double sx = cx + off * std::cos(mid), sy = cy + off * std::sin(mid);
    cairo_move_to(cr, sx, sy);
    cairo_arc(cr, sx, sy, radius, angle, angle + sweep);
    cairo_close_path(cr);
    SetColour(cr, kSlices[i % std::size(kSlices)]);
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    if (v > 0) {
      const std::string name = i < d.categories.size() ? Utf8(d.categories[i]) : std::string();
      const double lx = sx + (radius + kLabelSize) * std::cos(mid), ly = sy + (radius + kLabelSize) * std::sin(mid);
      SetColour(cr, kLabelColour);
      Label(cr, name.empty() ? NumberText(d.values[i]) : name + " " + NumberText(d.values[i]), lx, ly,
            std::cos(mid) >= 0 ? 0 : 1, 0.5);
    }
    angle += sweep;
  }
}

void DrawAxes(cairo_t* cr, Box plot, const ChartData& d) {
  const bool horizontal = d.kind == ChartKind::kBar || d.kind == ChartKind::kStackedBar;
  const size_t n = d.values.size();
  double low = 0, high = 0;
  for (double v : d.values) low = std::min(low, v), high = std::max(high, v);
  const Scale s = NiceScale(low, high);
  // Position along the value axis, 0 at the axis start; reversed draws the
  // maximum at the start.
  auto along = [&](double v) {
    double f = (v - s.low) / (s.high - s.low);
    if (d.reversed) f = 1 - f;
    return f;
  };
  auto value_point = [&](double f) { return horizontal ? plot.x + f * plot.w : plot.y + plot.h - f * plot.h; };
  const double band = (horizontal ? plot.h : plot.w) / std::max<size_t>(n, 1);
  const bool between = d.kind != ChartKind::kLine && d.kind != ChartKind::kLineMarkers && d.kind != ChartKind::kArea;
  // Category i's centre; bars list the first category at the bottom.
  auto category_point = [&](size_t i) {
    return horizontal ? plot.y + plot.h - (i + 0.5) * band : plot.x + (i + 0.5) * band;
  };

  // Category grid (thin), between the categories.
  SetColour(cr, kCategoryGrid);
  cairo_set_line_width(cr, 0.5);
  for (size_t i = 0; i <= n; ++i) {
    const double c = horizontal ? plot.y + plot.h - i * band : plot.x + i * band;
    if (horizontal) cairo_move_to(cr, plot.x, c), cairo_line_to(cr, plot.x + plot.w, c);
    else cairo_move_to(cr, c, plot.y), cairo_line_to(cr, c, plot.y + plot.h);
  }
  cairo_stroke(cr);
  // Value grid (strong) with its labels.
  Font(cr, kAxisSize, true);
  for (double v = s.low; v <= s.high + s.step / 2; v += s.step) {
    const double p = value_point(along(v));
    SetColour(cr, kValueGrid);
    cairo_set_line_width(cr, 2);
    if (horizontal) cairo_move_to(cr, p, plot.y), cairo_line_to(cr, p, plot.y + plot.h);
    else cairo_move_to(cr, plot.x, p), cairo_line_to(cr, plot.x + plot.w, p);
    cairo_stroke(cr);
    SetColour(cr, kAxis);
    const double shown = std::fabs(v) < s.step / 1e6 ? 0 : v;
    if (horizontal) Label(cr, NumberText(shown), p, plot.y + plot.h + 4, 0.5, 0);
    else Label(cr, NumberText(shown), plot.x - 6, p, 1, 0.5);
  }
  // Category labels.
  for (size_t i = 0; i < n && i < d.categories.size(); ++i) {
    SetColour(cr, kAxis);
    if (horizontal) Label(cr, Utf8(d.categories[i]), plot.x - 6, category_point(i), 1, 0.5);
    else Label(cr, Utf8(d.categories[i]), category_point(i), plot.y + plot.h + 4, 0.5, 0);
  }
  // Axis lines at the value 0.
  SetColour(cr, kAxis);
  cairo_set_line_width(cr, 1);
  const double zero = value_point(along(0));
  if (horizontal) cairo_move_to(cr, zero, plot.y), cairo_line_to(cr, zero, plot.y + plot.h);
  else cairo_move_to(cr, plot.x, zero), cairo_line_to(cr, plot.x + plot.w, zero);
  cairo_stroke(cr);

  // The series.
  std::vector<std::pair<double, double>> points;  // (category centre, value position)
  for (size_t i = 0; i < n; ++i) points.emplace_back(category_point(i), value_point(along(d.values[i])));
  SetColour(cr, kSeries);
  if (between) {
    const double thick = band * 0.6;
    for (size_t i = 0; i < n; ++i) {
      const double a = std::min(zero, points[i].second), b = std::max(zero, points[i].second);
      if (horizontal) cairo_rectangle(cr, a, points[i].first - thick / 2, b - a, thick);
      else cairo_rectangle(cr, points[i].first - thick / 2, a, thick, b - a);
    }
    cairo_fill(cr);
  } else if (n > 0) {
    if (d.kind == ChartKind::kArea) {
      cairo_move_to(cr, points.front().first, zero);
      for (const auto& [c, v] : points) cairo_line_to(cr, c, v);
      cairo_line_to(cr, points.back().first, zero);
      cairo_close_path(cr);
      cairo_fill(cr);
    } else {
      cairo_set_line_width(cr, 2.5);
      cairo_move_to(cr, points.front().first, points.front().second);
      for (const auto& [c, v] : points) cairo_line_to(cr, c, v);
      cairo_stroke(cr);
      if (d.kind == ChartKind::kLineMarkers) {
        for (const auto& [c, v] : points) cairo_rectangle(cr, c - 3.5, v - 3.5, 7, 7);
        cairo_fill(cr);
      }
    }
  }
  // Value labels beyond the end of each bar or above each point.
  Font(cr, kLabelSize, false);
  SetColour(cr, kLabelColour);
  for (size_t i = 0; i < n; ++i) {
    const std::string text = NumberText(d.values[i]);
    const bool up = (points[i].second <= zero) != horizontal;  // away from the axis
    if (horizontal) {
      const bool right = points[i].second >= zero;
      Label(cr, text, points[i].second + (right ? 4 : -4), points[i].first, right ? 0 : 1, 0.5);
    } else {
      Label(cr, text, points[i].first, points[i].second + (up ? -3 : 3), 0.5, up ? 1 : 0);
    }
  }
}

}  // namespace

void DrawChart(cairo_t* cr, int width, int height, const ChartData& d) {
  // Frame.
  SetColour(cr, kFrameFill);
  cairo_paint(cr);
  SetColour(cr, kFrameBorder);
  cairo_set_line_width(cr, 1);
  cairo_rectangle(cr, 0.5, 0.5, width - 1, height - 1);
  cairo_stroke(cr);
  // Title.
  double top = 8;
  if (!d.title.empty()) {
    Font(cr, kTitleSize, true);
    cairo_set_source_rgb(cr, 0, 0, 0);
    Label(cr, Utf8(d.title), width / 2.0, top, 0.5, 0);
    top += kTitleSize * 1.6;
  }
  top += kLabelSize;  // room for the value label of the tallest column
  const bool pie = d.kind == ChartKind::kPie || d.kind == ChartKind::kExplodedPie;
  // Room for the value labels on the left and the category labels below.
  double left = 12;
  if (!pie) {
    Font(cr, kAxisSize, true);
    double widest = 0;
    const bool horizontal = d.kind == ChartKind::kBar || d.kind == ChartKind::kStackedBar;
    cairo_text_extents_t e;
    if (horizontal) {
      for (const Text& c : d.categories) {
        cairo_text_extents(cr, Utf8(c).c_str(), &e);
        widest = std::max(widest, e.x_advance);
      }
    } else {
      double high = 0, low = 0;
      for (double v : d.values) high = std::max(high, v), low = std::min(low, v);
      for (double v : {high * 10, low * 10}) {
        cairo_text_extents(cr, NumberText(v).c_str(), &e);
        widest = std::max(widest, e.x_advance);
      }
    }
    left += std::min(widest, width / 3.0) + 6;
  }
  const double bottom = pie ? 12 : kAxisSize * 2 + 12;
  const Box plot{left, top, std::max(1.0, width - left - 16), std::max(1.0, height - top - bottom)};
  SetColour(cr, kPlotFill);
  cairo_rectangle(cr, plot.x, plot.y, plot.w, plot.h);
  cairo_fill(cr);
  if (pie) DrawPie(cr, plot, d);
  else DrawAxes(cr, plot, d);
}

}  // namespace platform::chart_draw
