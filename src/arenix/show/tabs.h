// The tab strip: its style block and switching script, and the strip with
// one content pane per tab (hovering a tab shows its pane).
//
// Element contract: tab i is the anchor "sTabmenu_" + i (class "current"
// when shown), its pane the div "dTabcontent_" + i; showBlockTabN(i, n)
// shows tab i of n.
#pragma once

#include "automation/variant.h"

namespace arenix::show {

using automation::Text;
using automation::TextView;
using automation::Variant;

/// CommShowTab: the style block (with `bg_color` as the panes' background
/// when it is not empty) and the script defining showBlockTabN.
Text ShowTab(TextView bg_color);

/// CommShowTabAndContent: the strip for the texts of `titles` and the panes
/// for those of `contents` (arrays; their items in order are tabs 0, 1,
/// ...), each pane `width` wide with a scrolling area `height` pixels
/// high; the first tab is shown. Anything but an array raises 13.
Text ShowTabAndContent(TextView bg_color, const Variant& titles, const Variant& contents,
                       TextView width, TextView height);

}  // namespace arenix::show
