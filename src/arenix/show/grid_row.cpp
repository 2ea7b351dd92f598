#include "arenix/show/grid_row.h"

namespace arenix::show {

Text GridTr(int16_t row, const GridRowStyle& look) {
  Text out;
  AppendGridTr(out, row, look);
  return out;
}

void AppendGridTr(Text& out, int16_t row, const GridRowStyle& look) {
  const TextView color = row % 2 == 1 ? look.odd_color : look.even_color;
  out += u"<tr align=";
  out += look.align;
  out += u" ";
  out += look.style;
  out += u" bgcolor='";
  out += color;
  out += u"' onmouseover=\"this.style.backgroundColor='";
  out += look.hover_color;
  out += u"'\"  onmouseout=\"this.style.backgroundColor='";
  out += color;
  out += u"'\">";
}

}  // namespace arenix::show
