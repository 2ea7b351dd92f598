// Blocks that guard how a page is shown: out of foreign frames, out of any
// frame, and without the context menu, new-window keys and error boxes.
#pragma once

#include "automation/text.h"
#include "host/host.h"

namespace arenix::script {

using automation::Text;

/// Replaces a top window that shows another host's page (or cannot be read)
/// with this page.
Text ScriptNoInFrame();

/// Breaks out of any frame.
Text ScriptNoInTop();

/// Empty text when the query value "excel" (trimmed, any case) is "yes", the
/// page being rendered for a spreadsheet; else the input-blocking script
/// (`NoContextMenu`, `NoRightClick`, `NoCtrlN`, `CancelLink`), the delete
/// question `cform()` and `killErrors()` as the window's error handler.
Text ScriptMouse(const host::Request& request);

}  // namespace arenix::script
