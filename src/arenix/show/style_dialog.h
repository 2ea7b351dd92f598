// The style blocks of the modal dialog: the cross-shaped close button
// (class "popup-close") and the dialog itself (the dialog element, its
// backdrop, header, body, the cover over its frame while dragging).
#pragma once

#include "automation/text.h"

namespace arenix::show {

using automation::Text;

/// A <style> block drawing elements of class "popup-close" as a cross.
Text StyleDialogCloseButton();

/// A <style> block for dialog, dialog::backdrop, .dialog-header,
/// .dialog-title, .dialog-body, .dialog-iframe-overlay and .close-btn.
Text StyleDialog();

}  // namespace arenix::show
