// Boxes a page puts its content in: the movable pop-up box with expandable
// sections, the opening of a framed (double) table that the page closes
// itself, and the titled box with a bottom line image.
#pragma once

#include <cstdint>

#include "automation/text.h"

namespace arenix::show {

using automation::Text;
using automation::TextView;

/// CommShowMenuMoveContent: the box "floater" `width` pixels wide with a
/// title bar `title_height` high and `content` (table rows). With
/// `can_move` it is draggable (scroll1/scroll2 set the directions), with
/// `can_expand` its sections fold; `visible` "hidden" puts it at
/// -1000,-1000, anything else at 0,0.
Text ShowMenuMoveContent(int16_t width, int16_t title_height, TextView title, uint8_t scroll1,
                         uint8_t scroll2, TextView content, TextView visible, bool can_move,
                         bool can_expand);

/// CommShowTableDouble: the opening of a framed table: an outer coloured
/// frame when `is_double`, then the bordered inner table (fixed layout when
/// `is_table_fix`). Blank width, background and border colour take
/// "100%", "#EFE9EF" and "#C0C0C0".
Text ShowTableDouble(TextView table_width, TextView bg_color, TextView border_color, bool is_double,
                     bool is_table_fix);

/// The colours, alignment and image of a titled box (the method's defaults).
struct BoxStyle {
  Text title_back = u"#b5b6b5";
  Text title_fore = u"#ffffff";
  Text content_back = u"#f7f7f7";
  Text content_fore = u"#000000";
  Text title_align = u"right";
  Text bottom_image = u"../comm/image/orvel_line.asp";
};

/// CommShowBox: a title row and a content row, the bottom line image and an
/// empty line.
Text ShowBox(TextView title, TextView content, const BoxStyle& style);

}  // namespace arenix::show
