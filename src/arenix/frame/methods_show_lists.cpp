// ArenixCls methods of the list renderers: spacer lines, search frames,
// grid rows, paging, field selectors, sort orders, header rows and the
// spreadsheet export.
#include "arenix/frame/arenix_cls.h"
#include "arenix/show/grid_row.h"
#include "arenix/show/search_frame.h"
#include "arenix/show/spacer.h"

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

}  // namespace arenix
