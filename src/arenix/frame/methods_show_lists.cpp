// ArenixCls methods of the list renderers: spacer lines, search frames,
// grid rows, paging, field selectors, sort orders, header rows and the
// spreadsheet export.
#include "arenix/frame/arenix_cls.h"
#include "arenix/show/export_sheet.h"
#include "arenix/show/grid_row.h"
#include "arenix/show/list_header.h"
#include "arenix/show/paging.h"
#include "arenix/show/search_frame.h"
#include "arenix/show/search_order.h"
#include "arenix/show/search_select.h"
#include "arenix/show/spacer.h"
#include "automation/coerce.h"

namespace arenix {

Text ArenixCls::CommShowSearchLeft(Text p_FormType, Text p_Width) {
  return show::SearchLeft(p_FormType, p_Width, show::kSearchCellClass);
}

Text ArenixCls::CommShowSearchRight(Text p_FormType) { return show::SearchRight(p_FormType); }

Text ArenixCls::CommShowColorLine(int16_t p_Width, int16_t p_Height, Text p_Color) {
  return show::ColorLine(p_Width, p_Height, p_Color);
}

Text ArenixCls::CommShowEmptyLine(int16_t p_Height, Text p_BgColor) {
  return show::EmptyLine(p_Height, p_BgColor);
}

Text ArenixCls::CommShowSpace(int16_t p_SpaceNumber) { return show::Spaces(p_SpaceNumber); }

Text ArenixCls::CommShowGridTr(int16_t p_CurrentRow, Text p_Style, Text p_BgColor1,
                               Text p_BgColor2, Text p_BgColor3, Text p_Align) {
  return show::GridTr(p_CurrentRow, {p_Style, p_BgColor1, p_BgColor2, p_BgColor3, p_Align});
}

void ArenixCls::CommShowNoPage(Variant& Request, Variant& Rs) { show::NoPage(Request, Rs); }

Text ArenixCls::CommShowPage(Variant& Request, Variant& Rs, Text SearchRequestList) {
  return show::PageBar(Request, Rs, SearchRequestList);
}

Text ArenixCls::CommShowSelect(Variant& Request, int16_t p_ShowTitleType, Text p_TitleList) {
  return show::SearchSelect(Request, p_ShowTitleType, p_TitleList);
}

Text ArenixCls::CommGetOrderString(Variant& Request, Text p_SortDefault, Text p_SortFieldList,
                                   Text p_SortDescFieldList, Text p_SearchKeyword,
                                   Text p_TableName) {
  return show::SearchOrder(Request, {p_SortDefault, p_SortFieldList, p_SortDescFieldList,
                                     p_SearchKeyword, p_TableName});
}

Text ArenixCls::CommShowNoRecord(Variant& p_ColspanNumber, bool p_IsExcel,
                                 Variant p_NoRecordMessage) {
  return show::NoRecord(automation::CStr(p_ColspanNumber), p_IsExcel,
                        automation::CStr(p_NoRecordMessage));
}

Text ArenixCls::CommShowTableHeader(Text p_TableHeaderList, int16_t p_Height, Text p_Class) {
  return show::TableHeader(p_TableHeaderList, p_Height, p_Class);
}

Text ArenixCls::CommShowTableHeaderEmpty(Text p_TableHeaderList) {
  return show::TableHeaderEmpty(p_TableHeaderList);
}

Text ArenixCls::CommShowExcelHeader() { return show::SheetHead(); }

Text ArenixCls::CommShowExcelTop(int16_t p_ColspanNumber, Text p_Title) {
  return show::SheetTop(p_ColspanNumber, p_Title);
}

Text ArenixCls::CommShowExcelTableHeader(Text p_TableHeaderList, Text p_Delimiter) {
  return show::SheetTableHeader(p_TableHeaderList, p_Delimiter);
}

Text ArenixCls::CommShowExcelBottom(int16_t p_ColspanNumber) {
  return show::SheetBottom(p_ColspanNumber);
}

Text ArenixCls::CommShowExcel(Variant& Conn, Variant& Rs, Variant& Response, Text p_Title,
                              int16_t p_ColCount, Text p_Content, Text p_ContentHeader1,
                              Text p_ContentHeader2) {
  return show::SheetExport(Conn, Rs, Response,
                           {p_Title, p_ColCount, p_Content, p_ContentHeader1, p_ContentHeader2});
}

}  // namespace arenix
