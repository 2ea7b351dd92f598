// Title blocks and bars at the top of a page: the page title with its
// spreadsheet, print and log-out buttons, the title bar with close and print
// buttons, and the single-line titled frame; each also in the older form
// that earlier pages call.
#pragma once

#include <cstdint>

#include "automation/text.h"

namespace arenix::show {

using automation::Text;
using automation::TextView;

/// CommShowTitleTop: unit name and product, the optional spreadsheet
/// (excel_allow 1) and print (print_allow 1) buttons, the log-out link
/// (to logout.asp, with ?GoUrl= when `logout_url` is not blank) and the
/// title, framed by spacers of 5 and 16.
Text ShowTitleTop(TextView unit_name, TextView title, TextView excel_url, int16_t excel_allow,
                  int16_t print_allow, TextView width, TextView other_url, TextView logout_url);

/// CommShowTitleHeader: a title bar; `title_add` containing "closeDialog"
/// adds a link closing the parent page's open dialog, else "close" one
/// closing the window; "print" adds the print link. `title_other` fills a
/// second cell when it is not blank.
Text ShowTitleHeader(TextView title, TextView title_add, TextView title_other);

/// CommShowHeader2: the older title bar (no dialog choice, the second
/// cell always written).
Text ShowHeader2(TextView title, TextView title_add, TextView title_other);

/// CommShowTitleSingle and CommShowHeader1: "【content】" (when given) and
/// the title in a search frame `width` wide.
Text ShowTitleSingle(TextView width, TextView title, TextView content);

/// CommShowHeader: the older page title with the maker's name.
Text ShowHeader(TextView title_name, TextView excel_url, int16_t excel_allow, int16_t print_allow,
                int16_t table_width, TextView other_url);

}  // namespace arenix::show
