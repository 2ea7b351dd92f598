// The in-page dialog that shows another page in a frame: as a modal
// `dialog` element with its script, and as a plain `div` overlay with its
// own script.
//
// Element ids for a dialog id D. Modal (D is "Dialog" when blank): D,
// "Title_" + D, "Close_" + D, "Body_" + D, "Frame_" + D, "Frame_" + D +
// "_OverLay". Overlay (D used as given, also when empty): D + "_Overly",
// D, D + "_Title", D + "_CloseBtn", D + "_Body", D + "_Frame".
#pragma once

#include <cstdint>

#include "automation/text.h"

namespace arenix::show {

using automation::Text;
using automation::TextView;

/// CommShowDialogFrame: the style blocks, the script and the modal dialog
/// `width` wide whose body and frame are `height` - 25 high; its close
/// button reloads the page when `refresh`.
Text ShowDialogFrame(int16_t width, int16_t height, bool refresh, TextView dialog_id);

/// CommShowDialogFrameScript: ShowPopDialog(id, width, height, title, url,
/// closeByOverlay) and the drag functions startDrag, endDrag,
/// updateTransform and handleMove.
Text ShowDialogFrameScript();

/// CommShowDialogDivFrame: the overlay dialog's style, elements and script
/// (divOpenDialog, divCloseDialog).
Text ShowDialogDivFrame(int16_t width, int16_t height, bool refresh, TextView dialog_id);

}  // namespace arenix::show
