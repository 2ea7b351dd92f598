#include "arenix/show/grid_row.h"

#include <string_view>

namespace arenix::show {

using namespace std::string_view_literals;

Text GridTr(int16_t row, const GridRowStyle& look) {
  Text out;
  AppendGridTr(out, row, look);
  return out;
}

void AppendGridTr(Text& out, int16_t row, const GridRowStyle& look) {
  const TextView color = row % 2 == 1 ? look.odd_color : look.even_color;
  out += u"<tr align="sv;
  out += look.align;
  out += u" "sv;
  out += look.style;
  out += u" bgcolor='"sv;
  out += color;
  out += u"' onmouseover=\"this.style.backgroundColor='"sv;
  out += look.hover_color;
  out += u"'\"  onmouseout=\"this.style.backgroundColor='"sv;
  out += color;
  out += u"'\">"sv;
}

}  // namespace arenix::show
