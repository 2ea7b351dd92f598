// Spacer lines between the blocks of a page: a coloured line, an empty line
// and a run of non-breaking spaces. The colours and sizes come from the
// calling page and are written as given.
#pragma once

#include <cstdint>

#include "automation/text.h"

namespace arenix::show {

using automation::Text;
using automation::TextView;

/// A one-cell table `width` wide and `height` high in `color`.
Text ColorLine(int16_t width, int16_t height, TextView color);

/// A full-width empty table row `height` high; with a colour, that
/// background.
Text EmptyLine(int16_t height, TextView bg_color = u"");

/// "&nbsp;" repeated `count` times; nothing for 0 or less.
Text Spaces(int16_t count);

}  // namespace arenix::show
