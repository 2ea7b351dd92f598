// The vector-markup charts: numbers, scale, whole texts of worked charts,
// the failures, and well-formed markup.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "arenix/chart/chart_values.h"
#include "arenix/chart/table_charts.h"
#include "arenix/frame/arenix_cls.h"
#include "automation/error.h"
#include "chart_table.h"
#include "support/node.h"

namespace arenix::testing {
namespace {

using automation::Text;
using automation::Variant;
using chart::PlainNumber;

Variant T(const char16_t* s) { return Variant(Text(s)); }

int ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const automation::Error& e) {
    return e.number();
  }
  return 0;
}

size_t Count(const Text& haystack, const Text& needle) {
  size_t n = 0;
  for (size_t at = haystack.find(needle); at != Text::npos; at = haystack.find(needle, at + 1)) ++n;
  return n;
}

TEST(ChartNumbers, PlainDecimalsNeverExponents) {
  const std::pair<double, const char16_t*> cases[] = {
      {0, u"0"},          {-0.0, u"0"},       {57, u"57"},         {-2.5, u"-2.5"},
      {0.1 + 0.2, u"0.3"}, {1.0 / 3, u"0.333333333333333"}, {1e20, u"100000000000000000000"},
      {1.5e-7, u"0.00000015"}, {123456789012345678.0, u"123456789012346000"}, {30.000000000000007, u"30"},
  };
  for (const auto& [x, text] : cases) EXPECT_EQ(PlainNumber(x), text) << x;
}

TEST(ChartNumbers, ScaleTop) {
  const std::pair<double, double> cases[] = {{57, 60},  {52, 55}, {100, 150}, {150, 200}, {3, 5}, {0, 5},
                                             {4, 5},    {5, 10},  {9, 10},    {10, 15},   {95, 100}, {1999, 2000}};
  for (const auto& [m, s] : cases) EXPECT_EQ(chart::ScaleTop(m), s) << m;
}

constexpr char16_t kLineHead[] =
    u"<v:line id='_x0000_s1027' title='' style='position:absolute;left:0;text-align:left;top:0;flip:y;z-index:-1' ";
constexpr char16_t kBoxHead[] = u"<v:shape id='_x0000_s1025' type='#_x0000_t202' title='' style='position:absolute;";
constexpr char16_t kBoxBody[] =
    u"<v:textbox inset='0px,0px,0px,0px'><table cellspacing='3' cellpadding='0' width='100%' height='100%'><tr>";

TEST(TableChart1, OtherTypesDrawTheBackgroundAndAxesOnly) {
  ArenixCls cls;
  Variant table = ChartTable({{T(u""), T(u""), T(u"")}, {T(u""), 57.0, T(u"一队")}});
  EXPECT_EQ(cls.CommTableChart1(table, 10, u"020", 10, 30, 300, 200, u"a"),
            Text(u"<!--[if gte vml 1]><v:rect id='_x0000_s1027' title='' style='position:absolute;left:80px;"
                 u"top:020px;width:300px;height:200px;z-index:-1' fillcolor='#9cf' stroked='f'><v:fill rotate='t' "
                 u"angle='-45' focus='100%' type='gradient'/></v:rect><![endif]-->"
                 u"<!--[if gte vml 1]>") +
                kLineHead + u"from='80px,220px' to='380px,220px'/><![endif]-->" + u"<!--[if gte vml 1]>" + kLineHead +
                u"from='80px,020px' to='80px,220px'/><![endif]-->");
}

TEST(TableChart1, ColumnsGridLabelsAndBars) {
  ArenixCls cls;
  Variant table = ChartTable({{T(u""), T(u""), T(u"")}, {T(u""), 57.0, T(u"一队")}, {T(u""), 30.0, T(u"二队")}});
  const Text out = cls.CommTableChart1(table, 10, u"20", 10, 30, 300, 200, u"A");
  // Grid rows every 40 pixels, labelled from the scale top 60 down; zero unlabelled.
  EXPECT_NE(out.find(Text(u"<!--[if gte vml 1]>") + kLineHead + u"from='80px,215px' to='85px,220px' strokecolor='#69f'/><![endif]-->"),
            Text::npos);
  size_t at = 0;
  for (const char16_t* label : {u"60", u"48", u"36", u"24", u"12"}) {
    at = out.find(u"<td align='right'>" + Text(label) + u"</td>", at);
    EXPECT_NE(at, Text::npos) << automation::ToUtf8(label);
  }
  EXPECT_EQ(Count(out, u"<td align='right'>"), 5u);
  EXPECT_NE(out.find(Text(u"<!--[if gte vml 1]>") + kBoxHead + u"left:10px;top:20px;width:70px;height:18px;z-index:1'>" +
                     kBoxBody + u"<td align='right'>60</td></tr></table></v:textbox></v:shape><![endif]-->"),
            Text::npos);
  // Gap (300 - 2 x 30) / 2 = 120: bar 1 at 80 + 60.
  EXPECT_NE(out.find(Text(u"<v:rect id='_x0000_s1025' title='' style='position:absolute;left:140px;top:30px;width:30px;"
                          u"height:190px;z-index:1' fillcolor='#00ff00'><v:fill color2='#d1ffd1' rotate='t' "
                          u"type='gradient'/><o:extrusion v:ext='view' backdepth='10pt' color='#00ff00' on='t'/>"
                          u"</v:rect>") +
                     kBoxHead + u"left:140px;top:0px;width:135px;height:18px;z-index:1'>" + kBoxBody +
                     u"<td align='center'>57</td></tr></table></v:textbox></v:shape>" + kBoxHead +
                     u"left:80px;top:221px;width:150px;height:18px;z-index:1'>" + kBoxBody +
                     u"<td align='center'>一队</td></tr></table></v:textbox></v:shape>"),
            Text::npos);
  EXPECT_NE(out.find(u"left:290px;top:120px;width:30px;height:100px;z-index:1' fillcolor='#ff0000'"), Text::npos);
}

TEST(TableChart1, HorizontalBarsAndThePaletteWrap) {
  ArenixCls cls;
  automation::Array a;
  a.columns = 3;
  for (int i = 0; i <= 8; ++i)
    for (Variant cell : {Variant(Text()), i == 0 ? Variant(Text()) : Variant(double(i)), Variant(Text(u"队"))})
      a.items.push_back(cell);
  Variant table(std::move(a));
  const Text out = cls.CommTableChart1(table, 0, u"0", 4, 10, 500, 400, u"B");
  EXPECT_EQ(Count(out, u"angle='-90' focus='100%' type='gradient'/>"), 8u);
  // Item 8 takes item 1's colours; the tick labels rise from S/5 (S = 10).
  const size_t first = out.find(u"fillcolor='#00ff00'><v:fill color2='#d1ffd1'");
  EXPECT_NE(out.find(u"fillcolor='#00ff00'><v:fill color2='#d1ffd1'", first + 1), Text::npos);
  size_t at = 0;
  for (const char16_t* label : {u">2<", u">4<", u">6<", u">8<", u">10<"}) {
    at = out.find(label, at);
    EXPECT_NE(at, Text::npos) << automation::ToUtf8(label);
  }
}

TEST(TableChart2, SegmentsMarkersDashesAndLegend) {
  ArenixCls cls;
  Variant table = ChartTable({{T(u""), T(u"red,2pt,3,2,男子"), T(u"#00f,1pt,9,1,女子")},
                              {T(u"一"), 10.0, 5.0},
                              {T(u"二"), 20.0, 5.0}});
  const Text out = cls.CommTableChart2(table, 0, u"0", 200, 100, 2);
  // S = 25; x 70 and 170; y (25 - v) x 4.
  EXPECT_NE(out.find(u"<v:line id=\"_x0000_s1025\" title=\"\" style='position:absolute;left:0;text-align:left;top:0;"
                     u"z-index:1' from=\"70px,60px\" to=\"170px,20px\" coordsize=\"21600,21600\" strokecolor=\"red\" "
                     u"strokeweight=\"2pt\"><v:stroke dashstyle='dash'/></v:line>\r"
                     u"<v:rect id=\"_x0000_s1027\" style='position:absolute;left:68px;top:58px;width:4px;height:4px; "
                     u"z-index:2' fillcolor=\"red\" strokecolor=\"red\"/>\r"
                     u"<v:rect id=\"_x0000_s1027\" style='position:absolute;left:168px;top:18px;width:4px;height:4px; "
                     u"z-index:2' fillcolor=\"red\" strokecolor=\"red\"/>\r"),
            Text::npos);
  // Dash code 9 and marker code 1: a bare line and no marker.
  EXPECT_NE(out.find(u"strokecolor=\"#00f\" strokeweight=\"1pt\"></v:line>\r<v:line id='_x0000_s1027'"), Text::npos);
  EXPECT_EQ(Count(out, u"<v:rect id=\"_x0000_s1027\""), 2u);
  EXPECT_NE(out.find(Text(u"<v:rect id='_x0000_s1025' style='position:absolute;left:280px;top:0px;width:100px;"
                          u"height:80px;z-index:1'/>") +
                     kBoxHead + u"left:285px;top:10px;width:60px;height:30px;z-index:1'>" + kBoxBody +
                     u"<td align='left'>男子</td></tr></table></v:textbox></v:shape><v:rect id='_x0000_s1040' "
                     u"title='' style='position:absolute;left:340px;top:14px;width:30px;height:20px;z-index:1' "
                     u"fillcolor='red'><v:fill color2='red' rotate='t' focus='100%' type='gradient'/></v:rect>"),
            Text::npos);
  // Point labels under the axis, W / n wide.
  EXPECT_NE(out.find(Text(kBoxHead) + u"left:170px;top:100px;width:100px;height:18px;z-index:1'>" + kBoxBody +
                     u"<td align='left'>二</td>"),
            Text::npos);
}

TEST(TableChart3, PieSlicesAndLegendWithPercentages) {
  ArenixCls cls;
  Variant table = ChartTable({{T(u""), T(u""), T(u"")}, {T(u""), 1.0, T(u"甲")}, {T(u""), 1.0, T(u"乙")},
                              {T(u""), 1.0, T(u"丙")}});
  const Text out = cls.CommTableChart3(table, 10, u"5", 200, 100, u"A");
  const Text shape = u"<v:shape id='_x0000_s1025' title='' style='position:absolute;left:10px;top:5px;width:200px;"
                     u"height:100px;z-index:1' coordsize='1500,1400' o:spt='100' adj='0,,0' "
                     u"path='m750,700ae750,700,750,700,";
  EXPECT_EQ(out.substr(0, out.find(u"<v:rect")),
            shape + u"0,7864320xe' fillcolor='#d1ffd1' strokecolor='#FFFFFF'><v:fill color2='#00ff00' rotate='t' "
                    u"focus='100%' type='gradient'/><v:stroke joinstyle='round'/><v:formulas/><v:path "
                    u"o:connecttype='segments'/></v:shape>\r" +
                shape + u"7864320,7864320xe' fillcolor='#ffbbbb' strokecolor='#FFFFFF'><v:fill color2='#ff0000' "
                        u"rotate='t' focus='100%' type='gradient'/><v:stroke joinstyle='round'/><v:formulas/><v:path "
                        u"o:connecttype='segments'/></v:shape>\r" +
                shape + u"15728640,7864320xe' fillcolor='#ffe3bb' strokecolor='#FFFFFF'><v:fill color2='#ff9900' "
                        u"rotate='t' focus='100%' type='gradient'/><v:stroke joinstyle='round'/><v:formulas/><v:path "
                        u"o:connecttype='segments'/></v:shape>\r");
  EXPECT_NE(out.find(u"<v:rect id='_x0000_s1025' style='position:absolute;left:230px;top:25px;width:140px;height:110px;"
                     u"z-index:1'/>"),
            Text::npos);
  EXPECT_EQ(Count(out, u"<td align='left'>33.33%</td>"), 3u);
  EXPECT_NE(out.find(Text(kBoxHead) + u"left:235px;top:35px;width:60px;height:30px;z-index:1'>" + kBoxBody +
                     u"<td align='left'>甲</td>"),
            Text::npos);
}

TEST(TableChart3, LeaderLabelsSitBesideThePie) {
  ArenixCls cls;
  Variant table = ChartTable({{T(u""), T(u""), T(u"")}, {T(u""), 1.0, T(u"甲")}, {T(u""), 3.0, T(u"乙")}});
  const Text out = cls.CommTableChart3(table, 0, u"0", 200, 200, u"B");
  EXPECT_EQ(Count(out, u"<v:oval id='_x0000_s1027'"), 2u);
  EXPECT_EQ(Count(out, u"strokecolor='#111111' strokeweight='1px'></v:line>"), 4u);
  // Slice 1 (a quarter) centres at 45 degrees: elbow right of the pie.
  EXPECT_NE(out.find(u"<td align='left'>甲 25.00%</td>"), Text::npos);
  EXPECT_NE(out.find(u"<td align='left'>乙 75.00%</td>"), Text::npos);
}

TEST(TableChart4, ScriptLegendAndFirstSeriesShown) {
  ArenixCls cls;
  Variant table = ChartTable({{T(u""), T(u"1月,2月,3月"), T(u"")},
                              {T(u""), T(u"10,20,30"), T(u"甲队")},
                              {T(u""), T(u"5,15,12"), T(u"乙队")}});
  const Text out = cls.CommTableChart4(table, 10, u"20", 600, 300, u"积分", u"月", u"分");
  EXPECT_EQ(out.substr(0, out.find(u"</script>") + 9),
            u"<script language=\"JavaScript\">var showit = new Array(2);function moveon(iteam,lineit){p_Temp=eval(iteam);"
            u"templine=eval(lineit);if(showit[1]){rec1.style.display = \"\";line_1.style.display = \"\";}else{"
            u"rec1.style.display = \"none\";line_1.style.display = \"none\";} p_Temp.style.display = \"\";"
            u"templine.style.display = \"\";}function moveout(iteam,lineit,p_i){p_Temp=eval(iteam);"
            u"templine=eval(lineit);if (showit[p_i]){p_Temp.style.display = \"\";templine.style.display = \"\";}"
            u"else{p_Temp.style.display = \"none\";templine.style.display = \"none\";}}function clickit(p_i){if "
            u"(showit[p_i]){showit[p_i]=false}else{showit[p_i]=true} }</script>");
  EXPECT_NE(out.find(u"<v:group ID='table' style='position:absolute;left:10px;top:20px;WIDTH:600px;HEIGHT:300px;' "
                     u"coordsize = '27500,12800'>"),
            Text::npos);
  EXPECT_NE(out.find(u" <v:Rect id='rec1' style='position:relative;left:23100;top:1450;width:3800;height:800;display:;'"),
            Text::npos);
  EXPECT_NE(out.find(u" <v:Rect id='rec2' style='position:relative;left:23100;top:6550;width:3800;height:800;"
                     u"display:none;'"),
            Text::npos);
  EXPECT_NE(out.find(u" <div id='line_2' style='display:none;'>"), Text::npos);
  // S = 35 (30 -> 35); y = round(10000 v / 35); xs = 10000.
  EXPECT_NE(out.find(u" <v:line from='1850,8693' to='11850,5836'style='z-index:10;' strokeweight='0.1pt' "
                     u"strokecolor='#00ff00'>"),
            Text::npos);
  EXPECT_NE(out.find(u"<div align='right'>35</div>"), Text::npos);
  EXPECT_NE(out.find(u"<div align='right'>7</div>"), Text::npos);
  EXPECT_EQ(out.substr(out.size() - 10), u"</v:group>");
}

TEST(TableCharts, FailuresAsTheCallerSeesThem) {
  ArenixCls cls;
  Variant empty = ChartTable({{T(u""), T(u""), T(u"")}});
  Variant words = ChartTable({{T(u""), T(u""), T(u"")}, {T(u""), T(u"many"), T(u"甲")}});
  Variant zero = ChartTable({{T(u""), T(u""), T(u"")}, {T(u""), 0.0, T(u"甲")}, {T(u""), 0.0, T(u"乙")}});
  Variant big = ChartTable({{T(u""), T(u""), T(u"")}, {T(u""), 20000.0, T(u"甲")}, {T(u""), 20000.0, T(u"乙")}});
  Variant half = ChartTable({{T(u""), T(u""), T(u"")}, {T(u""), 20000.0, T(u"甲")}});
  Variant one_label = ChartTable({{T(u""), T(u"1月"), T(u"")}, {T(u""), T(u"3"), T(u"甲")}});
  Variant bad_curve = ChartTable({{T(u""), T(u"1月,2月"), T(u"")}, {T(u""), T(u"3,x"), T(u"甲")}});
  Variant flat(Text(u"not an array"));
  EXPECT_EQ(ErrorOf([&] { cls.CommTableChart1(empty, 0, u"0", 10, 10, 100, 100, u"A"); }), 11);
  EXPECT_EQ(ErrorOf([&] { cls.CommTableChart2(empty, 0, u"0", 100, 100, 1); }), 11);
  EXPECT_EQ(ErrorOf([&] { cls.CommTableChart3(empty, 0, u"0", 100, 100, u"A"); }), 11);
  EXPECT_EQ(ErrorOf([&] { cls.CommTableChart1(words, 0, u"0", 10, 10, 100, 100, u"A"); }), 13);
  EXPECT_EQ(ErrorOf([&] { cls.CommTableChart1(flat, 0, u"0", 10, 10, 100, 100, u"A"); }), 13);
  EXPECT_EQ(ErrorOf([&] { cls.CommTableChart3(zero, 0, u"0", 100, 100, u"A"); }), 11);
  EXPECT_EQ(ErrorOf([&] { cls.CommTableChart3(big, 0, u"0", 100, 100, u"A"); }), 6);
  EXPECT_EQ(ErrorOf([&] { cls.CommTableChart3(half, 0, u"0", 100, 100, u"A"); }), 0);
  EXPECT_EQ(ErrorOf([&] { cls.CommTableChart3(half, 0, u"0", 100, 100, u"B"); }), 6);
  EXPECT_EQ(ErrorOf([&] { cls.CommTableChart4(one_label, 0, u"0", 100, 100, u"", u"", u""); }), 11);
  EXPECT_EQ(ErrorOf([&] { cls.CommTableChart4(bad_curve, 0, u"0", 100, 100, u"", u"", u""); }), 13);
  // The guard for charts too small to hold a grid step.
  Variant one = ChartTable({{T(u""), T(u""), T(u"")}, {T(u""), 1.0, T(u"甲")}});
  EXPECT_EQ(ErrorOf([&] { cls.CommTableChart1(one, 0, u"0", 2, 1, 100, 2, u"A"); }), 5);
  EXPECT_EQ(ErrorOf([&] { cls.CommTableChart1(one, 0, u"0", 2, 1, 2, 100, u"B"); }), 5);
  EXPECT_EQ(ErrorOf([&] { cls.CommTableChart1(one, 0, u"0", 2, 1, 100, 3, u"A"); }), 0);
  EXPECT_EQ(ErrorOf([&] { cls.CommTableChart2(one, 0, u"0", 100, 2, 0); }), 5);
}

// Charts 1 to 3 under the page head, closed as a page closes them, are
// well-formed XML with the two namespaces declared by the head.
TEST(TableCharts, HeadAndChartsOneToThreeAreWellFormed) {
  ArenixCls cls;
  Variant bars = ChartTable({{T(u""), T(u""), T(u"")}, {T(u""), 57.0, T(u"一队")}, {T(u""), 30.5, T(u"二队")}});
  Variant lines = ChartTable({{T(u""), T(u"red,2pt,4,3,男子")}, {T(u"一"), 10.0}, {T(u"二"), 20.0}});
  const Text page = cls.CommTableChartHeader() + cls.CommTableChart1(bars, 0, u"0", 10, 30, 300, 200, u"A") +
                    cls.CommTableChart1(bars, 0, u"300", 10, 30, 300, 200, u"B") +
                    cls.CommTableChart2(lines, 0, u"600", 300, 200, 1) +
                    cls.CommTableChart3(bars, 400, u"0", 200, 200, u"A") +
                    cls.CommTableChart3(bars, 400, u"300", 200, 200, u"B") + u"</body></html>";
  const std::string path = WriteTempFile(automation::ToUtf8(page), ".xml");
  const int status = std::system(("xmllint --noout " + path + " 2>&1").c_str());
  EXPECT_EQ(status, 0);
  std::filesystem::remove(path);
}

}  // namespace
}  // namespace arenix::testing
