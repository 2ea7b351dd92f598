// ArenixCls methods of the charts: vector-markup table charts and chart
// images.
#include "arenix/chart/chart_image.h"
#include "arenix/chart/table_charts.h"
#include "arenix/frame/arenix_cls.h"

namespace arenix {

Text ArenixCls::CommTableChart1(Variant& p_TableArray, int16_t p_TableLeft, Text p_TableTop, int16_t p_Thickness,
                                int16_t p_TableWidth, int16_t p_AllWidth, int16_t p_AllHeight, Text p_TableType) {
  return chart::TableChart1(p_TableArray, p_TableLeft, p_TableTop, p_Thickness, p_TableWidth, p_AllWidth,
                            p_AllHeight, p_TableType);
}

Text ArenixCls::CommTableChart2(Variant& p_TableArray, int16_t p_TableLeft, Text p_TableTop, int16_t p_AllWidth,
                                int16_t p_AllHeight, int16_t p_LineNumber) {
  return chart::TableChart2(p_TableArray, p_TableLeft, p_TableTop, p_AllWidth, p_AllHeight, p_LineNumber);
}

Text ArenixCls::CommTableChart3(Variant& p_TableArray, int16_t p_TableLeft, Text p_TableTop, int16_t p_AllWidth,
                                int16_t p_AllHeight, Text p_TableType) {
  return chart::TableChart3(p_TableArray, p_TableLeft, p_TableTop, p_AllWidth, p_AllHeight, p_TableType);
}

Text ArenixCls::CommTableChart4(Variant& p_TableArray, int16_t p_TableLeft, Text p_TableTop, int16_t p_AllWidth,
                                int16_t p_AllHeight, Text p_TableTitle, Text p_UnitXTitle, Text p_UnitYTitle) {
  return chart::TableChart4(p_TableArray, p_TableLeft, p_TableTop, p_AllWidth, p_AllHeight, p_TableTitle,
                            p_UnitXTitle, p_UnitYTitle);
}

Text ArenixCls::CommTableChartHeader() { return chart::TableChartHeader(); }

int16_t ArenixCls::CommGraphiWithOwc(Text p_Categories, Text p_Values, Text p_SeriesCaption, int16_t p_GraphiType,
                                     Text p_ChartTitle, int16_t p_ScalingOrientation, Text p_GraphiOutType,
                                     int16_t p_GraphiWidth, int16_t p_GraphiHeight, Text p_GraphiFileFullName) {
  return chart::GraphiWithOwc(p_Categories, p_Values, p_SeriesCaption, p_GraphiType, p_ChartTitle,
                              p_ScalingOrientation, p_GraphiOutType, p_GraphiWidth, p_GraphiHeight,
                              p_GraphiFileFullName);
}

}  // namespace arenix
