#include "arenix/chart/table_charts.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "arenix/chart/chart_values.h"
#include "automation/coerce.h"
#include "automation/error.h"
#include "automation/runtime.h"

namespace arenix::chart {

namespace {

// Coordinates and labels are kept to a billionth: sums such as
// 20 + (1 - 57 / 60) x 200 - 30 would otherwise print their floating-point
// noise as 0.00000000000000710542735760100.
Text P(double x) {
  if (std::fabs(x) < 1e6) x = std::round(x * 1e9) / 1e9;
  return PlainNumber(x);
}

// `top` takes part in sums as a number (13 when it is none).
double Num(TextView top) { return automation::CDbl(Variant(Text(top))); }

constexpr char16_t kConditionalOpen[] = u"<!--[if gte vml 1]>";
constexpr char16_t kConditionalClose[] = u"<![endif]-->";
constexpr char16_t kTextClose[] = u"</td></tr></table></v:textbox></v:shape>";
constexpr char16_t kPercentClose[] = u"%</td></tr></table></v:textbox></v:shape>";

Text Conditional(const Text& markup) { return kConditionalOpen + markup + kConditionalClose; }

// The straight line of the bar and line charts; without a colour it takes
// the markup's default.
Text Line(const Text& x1, const Text& y1, const Text& x2, const Text& y2, const char16_t* colour = nullptr) {
  Text out = u"<v:line id='_x0000_s1027' title='' style='position:absolute;left:0;text-align:left;top:0;"
             u"flip:y;z-index:-1' from='" + x1 + u"px," + y1 + u"px' to='" + x2 + u"px," + y2;
  if (colour) return out + u"px' strokecolor='" + colour + u"'/>";
  return out + u"px'/>";
}

Text Size(const Text& width) { return u"px;width:" + width + u"px;height:18px;z-index:1'>"; }
Text Size60(int height) { return u"px;width:60px;height:" + P(height) + u"px;z-index:1'>"; }

// A text box; `size` is the style's tail from "px;width:" on.
Text TextShape(const Text& x, const Text& y, const Text& size, const char16_t* align, TextView text,
               const char16_t* close = kTextClose) {
  return u"<v:shape id='_x0000_s1025' type='#_x0000_t202' title='' style='position:absolute;left:" + x +
         u"px;top:" + y + size +
         u"<v:textbox inset='0px,0px,0px,0px'><table cellspacing='3' cellpadding='0' width='100%' "
         u"height='100%'><tr><td align='" + align + u"'>" + Text(text) + close;
}

// The largest value (never below 0), rounded down, as the top of the scale.
double ScaleOf(const std::vector<double>& values, bool nearest) {
  double m = 0;
  for (double v : values) m = std::max(m, v);
  return ScaleTop(nearest ? automation::RoundHalfEven(m) : std::floor(m));
}

Text Percent(double x) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.2f", x);
  return automation::FromUtf8(buf);
}

Text Background(int left, TextView top, int width, int height) {
  return u"<v:rect id='_x0000_s1027' title='' style='position:absolute;left:" + P(left + kMargin) + u"px;top:" +
         Text(top) + u"px;width:" + P(width) + u"px;height:" + P(height) +
         u"px;z-index:-1' fillcolor='#9cf' stroked='f'><v:fill rotate='t' angle='-45' focus='100%' "
         u"type='gradient'/></v:rect>";
}

Text Bar(const Text& x, const Text& y, const Text& w, const Text& h, int32_t item, const char16_t* fill_tail,
         int thickness) {
  return u"<v:rect id='_x0000_s1025' title='' style='position:absolute;left:" + x + u"px;top:" + y +
         u"px;width:" + w + u"px;height:" + h + u"px;z-index:1' fillcolor='" + StrongColour(item) + u"'>" +
         u"<v:fill color2='" + LightColour(item) + fill_tail + u"<o:extrusion v:ext='view' backdepth='" +
         P(thickness) + u"pt' color='" + StrongColour(item) + u"' on='t'/>" + u"</v:rect>";
}

}  // namespace

Text TableChartHeader() {
  return u"<html xmlns:v=\"urn:schemas-microsoft-com:vml\" xmlns:o=\"urn:schemas-microsoft-com:office:office\">"
         u"<head>"
         u"<!--[if !mso]>"
         u"<style>"
         u"v\\:* { behavior: url(#default#VML) }"
         u"o\\:* { behavior: url(#default#VML) }"
         u".shape { behavior: url(#default#VML) }"
         u"td { font-size: 9pt}"
         u"</style>"
         u"<![endif]-->"
         u" </head>"
         u" <body>";
}

Text TableChart1(const Variant& table, int16_t left, TextView top, int16_t thickness, int16_t bar_width,
                 int16_t width, int16_t height, TextView type) {
  const TableArray rows(table);
  const int32_t n = rows.Items();
  std::vector<double> values;
  for (int32_t i = 1; i <= n; ++i) values.push_back(rows.Number(i, 1));
  const double S = ScaleOf(values, false);
  const double L = left, W = width, H = height, M = kMargin, BW = bar_width, T = Num(top);
  const double h = thickness / 2.0;
  const Text T0(top);

  Text out = Conditional(Background(left, top, width, height));
  out += Conditional(Line(P(L + M), P(T + H), P(L + W + M), P(T + H)));
  out += Conditional(Line(P(L + M), T0, P(L + M), P(T + H)));

  if (type == u"A") {
    const double g = (W - BW * n) / n;
    out += Conditional(Line(P(L + M + h), T0, P(L + M + h), P(T + H - h), kAxisColour));
    const int32_t step = GridStep(u"CommTableChart1", H);
    double label = S;
    for (int32_t k = 0; k <= height - 1; k += step) {
      out += Conditional(Line(P(L + M), P(T + H - h - k), P(L + M + h), P(T + H - k), kAxisColour));
      out += Conditional(Line(P(L + M + h), P(T + H - h - k), P(L + W + M), P(T + H - h - k), kAxisColour));
      out += Conditional(Line(P(L + M - 15), P(T + k), P(L + M), P(T + k)));
      out += Conditional(TextShape(P(L), P(T + k), Size(P(M)), u"right", P(label)));
      label -= S / 5;
    }
    for (int32_t i = 1; i <= n; ++i) {
      const double x = L + M + g / 2 + (i - 1) * (BW + g);
      const double v = values[i - 1];
      out += Bar(P(x), P(T + (1 - v / S) * H), P(BW), P(v * H / S), i, u"' rotate='t' type='gradient'/>",
                 thickness);
      out += TextShape(P(x), P(T + (1 - v / S) * H - BW), Size(P(g + 15)), u"center", P(v));
      out += TextShape(P(x - g / 2), P(T + H + 1), Size(P(BW + g)), u"center", rows.Label(i, 2));
    }
  } else if (type == u"B") {
    const double g = (H - BW * n) / n;
    out += Conditional(Line(P(L + M + h), P(T + H - h), P(L + W + M), P(T + H - h), kAxisColour));
    const int32_t step = GridStep(u"CommTableChart1", W);
    double label = S / 5;
    for (int32_t k = 0; k <= width - 1; k += step) {
      out += Conditional(Line(P(L + M + k), P(T + H - h), P(L + M + h + k), P(T + H), kAxisColour));
      out += Conditional(Line(P(L + M + h + k), P(T + H - h), P(L + M + h + k), T0, kAxisColour));
      out += Conditional(Line(P(L + M + k + W / 5), P(T + H), P(L + M + k + W / 5), P(T + H + 15)));
      out += Conditional(TextShape(P(L + k + W / 5), P(T + H), Size(P(M)), u"right", P(label)));
      label += S / 5;
    }
    for (int32_t i = 1; i <= n; ++i) {
      const double y = T + g / 2 + (i - 1) * (BW + g);
      const double v = values[i - 1];
      out += Bar(P(L + M), P(y), P(v * W / S), P(BW), i,
                 u"' rotate='t' angle='-90' focus='100%' type='gradient'/>", thickness);
      out += TextShape(P(L + M + v * W / S + h), P(y), Size(P(g + 15)), u"center", P(v));
      out += TextShape(P(L), P(y), Size(P(M)), u"right", rows.Label(i, 2));
    }
  }
  return out;
}

namespace {

Text DashElement(TextView code) {
  if (code == u"2") return u"<v:stroke dashstyle='1 1'/>";
  if (code == u"3") return u"<v:stroke dashstyle='dash'/>";
  if (code == u"4") return u"<v:stroke dashstyle='dashDot'/>";
  if (code == u"5") return u"<v:stroke dashstyle='longDash'/>";
  if (code == u"6") return u"<v:stroke dashstyle='longDashDot'/>";
  if (code == u"7") return u"<v:stroke dashstyle='longDashDotDot'/>";
  return Text();
}

Text Marker(TextView code, double x, double y, const Text& colour) {
  if (code == u"2")
    return u"<v:rect id=\"_x0000_s1027\" style='position:absolute;left:" + P(x) + u"px;top:" + P(y) +
           u"px;width:4px;height:4px; z-index:2' fillcolor=\"" + colour + u"\" strokecolor=\"" + colour +
           u"\"/>\r";
  if (code == u"3")
    return u"<v:oval id=\"_x0000_s1026\" style='position:absolute;left:" + P(x) + u"px;top:" + P(y) +
           u"px;width:4px;height:4px;z-index:1' fillcolor=\"" + colour + u"\" strokecolor=\"" + colour +
           u"\"/>\r";
  return Text();
}

}  // namespace

Text TableChart2(const Variant& table, int16_t left, TextView top, int16_t width, int16_t height,
                 int16_t series) {
  const TableArray rows(table);
  const int32_t n = rows.Items();
  std::vector<double> all;
  for (int32_t i = 1; i <= n; ++i)
    for (int32_t j = 1; j <= series; ++j) all.push_back(rows.Number(i, j));
  const double S = ScaleOf(all, false);
  const double L = left, W = width, H = height, M = kMargin, T = Num(top);
  const Text T0(top);

  Text out = Background(left, top, width, height);
  const int32_t step = GridStep(u"CommTableChart2", H);
  double label = S;
  for (int32_t k = 0; k <= height - 1; k += step) {
    out += Line(P(L + M), P(T + H - k), P(L + W + M), P(T + H - k), kAxisColour);
    out += Line(P(L + M - 15), P(T + k), P(L + M), P(T + k));
    out += TextShape(P(L), P(T + k), Size(P(M)), u"right", P(label));
    label -= S / 5;
  }
  out += Line(P(L + M), P(T + H), P(L + W + M), P(T + H));
  out += Line(P(L + M), T0, P(L + M), P(T + H));

  struct Series {
    Text colour, weight, dash, marker, name;
  };
  std::vector<Series> described;
  for (int32_t j = 1; j <= series; ++j) {
    std::vector<Text> f = automation::Split(rows.Label(0, j), u",");
    if (f.size() < 5) throw automation::Error(automation::err::kSubscript);
    described.push_back({f[0], f[1], f[2], f[3], f[4]});
  }
  auto x_of = [&](int32_t i) { return W * (i - 1) / n + L + M; };
  for (int32_t j = 1; j <= series; ++j) {
    const Series& s = described[j - 1];
    auto y_of = [&](int32_t i) { return T + (S - all[(i - 1) * series + (j - 1)]) * H / S; };
    for (int32_t i = 1; i <= n - 1; ++i) {
      out += u"<v:line id=\"_x0000_s1025\" title=\"\" style='position:absolute;left:0;text-align:left;top:0;"
             u"z-index:1' from=\"" + P(x_of(i)) + u"px," + P(y_of(i)) + u"px\" to=\"" + P(x_of(i + 1)) + u"px," +
             P(y_of(i + 1)) + u"px\" coordsize=\"21600,21600\" strokecolor=\"" + s.colour +
             u"\" strokeweight=\"" + s.weight + u"\">" + DashElement(s.dash) + u"</v:line>\r";
      out += Marker(s.marker, x_of(i) - 2, y_of(i) - 2, s.colour);
    }
    out += Marker(s.marker, x_of(n) - 2, y_of(n) - 2, s.colour);
  }
  for (int32_t i = 1; i <= n; ++i) {
    out += Line(P(x_of(i)), P(T + H), P(x_of(i)), P(T + H + 15));
    out += TextShape(P(x_of(i)), P(T + H), Size(P(W / n)), u"left", rows.Label(i, 0));
  }
  out += u"<v:rect id='_x0000_s1025' style='position:absolute;left:" + P(L + W + 80) + u"px;top:" + T0 +
         u"px;width:100px;height:" + P(series * 30 + 20) + u"px;z-index:1'/>";
  for (int32_t j = 1; j <= series; ++j) {
    const double y = T + 10 + 30 * (j - 1);
    out += TextShape(P(L + W + 85), P(y), Size60(30), u"left", described[j - 1].name);
    out += u"<v:rect id='_x0000_s1040' title='' style='position:absolute;left:" + P(L + W + 140) + u"px;top:" +
           P(y + 4) + u"px;width:30px;height:20px;z-index:1' fillcolor='" + described[j - 1].colour +
           u"'><v:fill color2='" + described[j - 1].colour + u"' rotate='t' focus='100%' type='gradient'/></v:rect>";
  }
  return out;
}

Text TableChart3(const Variant& table, int16_t left, TextView top, int16_t width, int16_t height,
                 TextView type) {
  const TableArray rows(table);
  const int32_t n = rows.Items();
  std::vector<double> values;
  double sum = 0;
  for (int32_t i = 1; i <= n; ++i) {
    values.push_back(rows.Number(i, 1));
    sum += values.back();
  }
  const int16_t total = automation::CInt(Variant(sum));
  if (total == 0) ThrowNothingToDraw();
  const double L = left, W = width, H = height;
  const Text T0(top);

  Text out;
  float f = 0;
  for (int32_t i = 1; i <= n; ++i) {
    const double v = values[i - 1];
    out += u"<v:shape id='_x0000_s1025' title='' style='position:absolute;left:" + P(L) + u"px;top:" + T0 +
           u"px;width:" + P(W) + u"px;height:" + P(H) +
           u"px;z-index:1' coordsize='1500,1400' o:spt='100' adj='0,,0' path='m750,700ae750,700,750,700," +
           P(std::floor(static_cast<double>(f) * 23592960)) + u"," + P(std::floor(v * 23592960 / total)) +
           u"xe' fillcolor='" + LightColour(i) + u"' strokecolor='#FFFFFF'><v:fill color2='" + StrongColour(i) +
           u"' rotate='t' focus='100%' type='gradient'/><v:stroke joinstyle='round'/><v:formulas/>"
           u"<v:path o:connecttype='segments'/></v:shape>\r";
    f = static_cast<float>(f + v / total);
  }
  if (type == u"A") {
    const double T = Num(top);
    out += u"<v:rect id='_x0000_s1025' style='position:absolute;left:" + P(L + W + 20) + u"px;top:" + P(T + 20) +
           u"px;width:140px;height:" + P(n * 30 + 20) + u"px;z-index:1'/>";
    for (int32_t i = 1; i <= n; ++i) {
      const double y = T + 30 + 30 * (i - 1);
      out += TextShape(P(L + W + 25), P(y), Size60(30), u"left", rows.Label(i, 2));
      out += u"<v:rect id='_x0000_s1040' title='' style='position:absolute;left:" + P(L + W + 80) + u"px;top:" +
             P(y + 3) + u"px;width:30px;height:20px;z-index:1' fillcolor='" + LightColour(i) +
             u"'><v:fill color2='" + StrongColour(i) + u"' rotate='t' focus='100%' type='gradient'/></v:rect>";
      out += TextShape(P(L + W + 110), P(y), Size60(30), u"left", Percent(values[i - 1] * 100 / total), kPercentClose);
    }
  } else if (type == u"B") {
    const double T = Num(top);
    const int32_t twice = 2 * static_cast<int32_t>(total);
    if (twice > 32767 || twice < -32768) automation::ThrowOverflow();
    double a = 0;
    for (int32_t i = 1; i <= n; ++i) {
      const double v = values[i - 1];
      const double theta = (a + v / twice) * 6.28318530717958;
      const double p1x = W * std::cos(theta) * 3 / 8 + W / 2 + L, p1y = T + H / 2 - H * std::sin(theta) * 3 / 8;
      const double p2x = W * std::cos(theta) * 3 / 4 + W / 2 + L, p2y = T + H / 2 - H * std::sin(theta) * 3 / 4;
      const bool right = p2x > W / 2 + L;
      const double x3 = right ? p2x + 20 : p2x - 20;
      const double label_left = right ? x3 : x3 - 100;
      out += u"<v:oval id='_x0000_s1027' style='position:absolute;left:" + P(p1x - 2) + u"px;top:" + P(p1y - 2) +
             u"px;width:4px;height:4px; z-index:2' fillcolor='#111111' strokecolor='#111111'/>\r";
      for (const auto& [x1, y1, x2, y2] : {std::tuple(p1x, p1y, p2x, p2y), std::tuple(p2x, p2y, x3, p2y)}) {
        out += u"<v:line id='_x0000_s1025' title='' style='position:absolute;left:0;text-align:left;top:0;"
               u"z-index:1' from='" + P(x1) + u"px," + P(y1) + u"px' to='" + P(x2) + u"px," + P(y2) +
               u"px' coordsize='21600,21600' strokecolor='#111111' strokeweight='1px'></v:line>";
      }
      out += TextShape(P(label_left), P(p2y - 10), u"px;width:100px;height:20px;z-index:1'>", u"left",
                       rows.Label(i, 2) + u" " + Percent(v * 100 / total), kPercentClose);
      a += v / total;
    }
  }
  return out;
}

Text TableChart4(const Variant& table, int16_t left, TextView top, int16_t width, int16_t height,
                 TextView title, TextView x_title, TextView y_title) {
  const TableArray rows(table);
  const int32_t n = rows.Items();
  const std::vector<Text> x_labels = automation::Split(rows.Label(0, 1), u",");
  const int32_t m = static_cast<int32_t>(x_labels.size());
  std::vector<std::vector<double>> values;
  double largest = 0;
  for (int32_t i = 1; i <= n; ++i) {
    std::vector<double> series;
    for (const Text& item : automation::Split(rows.Label(i, 1), u",")) {
      series.push_back(automation::CDbl(Variant(item)));
      largest = std::max(largest, series.back());
    }
    values.push_back(std::move(series));
  }
  const double S = ScaleTop(automation::RoundHalfEven(largest));
  const double step = S / 5;
  if (m == 1) ThrowNothingToDraw();
  const double xs = 20000.0 / (m - 1);
  const Text T0(top);

  Text out =
      u"<script language=\"JavaScript\">var showit = new Array(" + P(n) +
      u");function moveon(iteam,lineit){p_Temp=eval(iteam);templine=eval(lineit);if(showit[1]){rec1.style.display "
      u"= \"\";line_1.style.display = \"\";}else{rec1.style.display = \"none\";line_1.style.display = \"none\";} "
      u"p_Temp.style.display = \"\";templine.style.display = \"\";}function moveout(iteam,lineit,p_i){p_Temp=eval("
      u"iteam);templine=eval(lineit);if (showit[p_i]){p_Temp.style.display = \"\";templine.style.display = "
      u"\"\";}else{p_Temp.style.display = \"none\";templine.style.display = \"none\";}}function clickit(p_i){if "
      u"(showit[p_i]){showit[p_i]=false}else{showit[p_i]=true} }</script>";
  const Text box = u"px;top:" + T0 + u"px;WIDTH:" + P(width) + u"px;HEIGHT:" + P(height) + u"px;'";
  out += u"<v:rect id='background' style='position:absolute;left:" + P(left) + box +
         u" fillcolor='#EFEFEF' strokecolor='gray'> <v:shadow on='t' type='single' color='silver' offset='4pt,4pt'/>"
         u"</v:rect>";
  out += u"<v:group ID='table' style='position:absolute;left:" + P(left) + box + u" coordsize = '27500,12800'>";
  out += u" <v:Rect style='position:relative;left:1500;top:200;width:23000;height:800'filled='false' stroked='f'>"
         u" <v:TextBox inset='0pt,0pt,0pt,0pt'> <table width='100%' border='0' align='center' cellspacing='0'>"
         u" <tr> <td align='center' valign='middle'><div style='font-size:15pt; font-family:黑体;'><B>" +
         Text(title) + u"</B></div></td> </tr> </table> </v:TextBox> </v:Rect> ";
  out += u" <v:rect id='back' style='position:relative;left:1700;top:1200;width:20500; height:10500;' "
         u"fillcolor='#9cf' strokecolor='#DFDFDF'> <v:fill rotate='t' angle='-45' focus='100%' type='gradient'/>"
         u" </v:rect> <v:rect id='back2' style='position:relative;left:23000;top:1200;width:4000; height:10500;' "
         u"fillcolor='#9cf' stroked='t' strokecolor='#0099ff'> <v:fill rotate='t' angle='-175' focus='100%' "
         u"type='gradient'/> <v:shadow on='t' type='single' color='silver' offset='3pt,3pt'/> </v:rect>";
  auto display = [](int32_t i) { return i == 1 ? Text() : Text(u"none"); };
  for (int32_t i = 1; i <= n; ++i) {
    const double r = (i - 1) * 10200.0 / n;
    const Text id = P(i);
    out += u" <div style='cursor:hand;' onmouseover='moveon(rec" + id + u",line_" + id + u")' onmouseout='moveout(rec" +
           id + u",line_" + id + u"," + id + u")' onclick='clickit(" + id + u")'>";
    out += u" <v:Rect id='rec" + id + u"' style='position:relative;left:23100;top:" + P(r + 1450) +
           u";width:3800;height:800;display:" + display(i) + u";' fillcolor='#efefef' strokecolor='" +
           StrongColour(i) + u"'>";
    out += u" <v:fill opacity='.6' color2='fill darken(118)' o:opacity2='.6' rotate='t' method='linear sigma' "
           u"focus='100%' type='gradient'/> </v:Rect>";
    out += u" <v:Rect style='position:relative;left:23200;top:" + P(r + 1500) + u";width:600;height:700' fillcolor='" +
           StrongColour(i) + u"' stroked='f'/>";
    out += u" <v:Rect style='position:relative;left:24000;top:" + P(r + 1500) +
           u";width:3400;height:700' filled='f' stroked='f'> <v:TextBox inset='0pt,4pt,0pt,0pt' "
           u"style='font-size:9pt;'><div align='left'>" + rows.Label(i, 2) + u"</div></v:TextBox> </v:Rect>  </div> ";
  }
  const Text box_open = u" <v:TextBox inset='0pt,0pt,0pt,0pt' style='font-size:9pt;'><div align='";
  const Text box_close = u"</div></v:TextBox> </v:Rect> ";
  out += u" <v:line ID='X' from='1700,11700' to='22700,11700' style='z-index:2' strokecolor='#000000' "
         u"strokeWeight=1pt><v:stroke EndArrow='Classic'/></v:line> <v:Rect style='position:relative;left:22200;"
         u"top:11900;width:2000;height:500' filled='false' stroked='false'>" + box_open + u"left'>" + Text(x_title) +
         box_close;
  for (int k = 0; k <= 4; ++k) {
    const Text a = P(2000 * k + 1700), b = P(2000 * k + 1200), c = P(2000 * k + 2200);
    out += u" <v:line from='1300," + a + u"' to='1700," + a + u"' style='z-index:2' strokecolor='#000000'></v:line>";
    out += u" <v:line from='1700," + a + u"' to='2200," + b + u"' style='z-index:2' strokecolor='#0099FF'></v:line>";
    out += u" <v:line from='2200," + b + u"' to='22200," + b + u"' style='z-index:2' strokecolor='#0099FF'></v:line>";
    out += u" <v:line from='2200," + c + u"' to='22200," + c +
           u"' style='z-index:2' strokecolor='#0099FF'> <v:stroke dashstyle='Dot'/> </v:line>";
    out += u" <v:Rect style='position:relative;left:100;top:" + P(2000 * k + 1250) +
           u";width:1500;height:500' filled='false' stroked='false'>" + box_open + u"right'>" + P((5 - k) * step) +
           box_close;
  }
  out += u" <v:line ID='Y' from='1700,900' to='1700,11700' style='z-index:2' strokecolor='#000000' "
         u"strokeWeight=1pt><v:stroke StartArrow='Classic'/></v:line> <v:Rect style='position:relative;left:100;"
         u"top:700;width:1500;height:500' filled='false' stroked='false'>" + box_open + u"right'>" + Text(y_title) +
         box_close +
         u" <v:line from='2200,11200' to='22200,11200' style='z-index:2' strokecolor='#0099FF'></v:line>"
         u" <v:line from='2200,1200' to='2200,11200' style='z-index:2' strokecolor='#0099FF'></v:line>"
         u" <v:line from='1700,11700' to='2200,11200' style='z-index:2' strokecolor='#0099FF'></v:line>";
  for (int32_t k = 0; k <= m - 1; ++k) {
    const double x = k * xs;
    out += u" <v:line from='" + P(x + 1700) + u",11700' to='" + P(x + 1700) +
           u",12000' style='z-index:2' strokecolor='#000000'></v:line>";
    out += u" <v:line from='" + P(x + 1700) + u",11700' to='" + P(x + 2200) +
           u",11200' style='z-index:2' strokecolor='#0099FF'><v:stroke dashstyle='ShortDot'/></v:line>";
    out += u" <v:line from='" + P(x + 2200) + u",1200' to='" + P(x + 2200) +
           u",11200' style='z-index:2' strokecolor='#0099FF'><v:stroke dashstyle='ShortDot'/></v:line>";
    out += u" <v:Rect style='position:relative;left:" + P(x + 1700 - xs / 2) + u";top:12100;width:" + P(xs) +
           u";height:500' filled='false' stroked='false'>" + box_open + u"center'>" + x_labels[k] + box_close;
  }
  for (int32_t i = 1; i <= n; ++i) {
    const std::vector<double>& series = values[i - 1];
    auto y = [&](int32_t k) {
      if (k >= static_cast<int32_t>(series.size())) throw automation::Error(automation::err::kSubscript);
      return automation::CInt(Variant(10000 * series[k] / S));
    };
    out += u" <div id='line_" + P(i) + u"' style='display:" + display(i) + u";'>";
    for (int32_t k = 0; k <= m - 2; ++k) {
      out += u" <v:line from='" + P(1850 + k * xs) + u"," + P(10000 - y(k) + 1550) + u"' to='" +
             P(1850 + (k + 1) * xs) + u"," + P(10000 - y(k + 1) + 1550) + u"'style='z-index:" + P(10 * i) +
             u";' strokeweight='0.1pt' strokecolor='" + StrongColour(i) + u"'>";
      out += u" <o:extrusion v:ext='view' backdepth='12pt' on='t' lightposition='-50000,-50000' "
             u"lightposition2='50000'/> </v:line>";
    }
    out += u" </div>";
  }
  out += u"</v:group>";
  return out;
}

}  // namespace arenix::chart
