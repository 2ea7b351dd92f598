// The opening tag of one list row: alternate rows take two background
// colours and every row lights up in a third under the mouse. List pages and
// the meet's result rows open their rows here.
#pragma once

#include <cstdint>

#include "automation/text.h"

namespace arenix::show {

using automation::Text;
using automation::TextView;

struct GridRowStyle {
  TextView style = u"";           // further attributes, written as given
  TextView odd_color = u"#eeeeff";
  TextView even_color = u"#e5e5f9";
  TextView hover_color = u"#cceecc";
  TextView align = u"center";
};

/// "<tr ...>" for row number `row`: odd rows take the odd colour, all others
/// (even, zero and negative odd numbers, whose remainder is not 1) the even
/// colour.
Text GridTr(int16_t row, const GridRowStyle& look = {});

/// GridTr appended to `out`.
void AppendGridTr(Text& out, int16_t row, const GridRowStyle& look = {});

}  // namespace arenix::show
