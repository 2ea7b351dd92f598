// The small script blocks that the error page embeds and many renderers
// reuse: image rollover functions and the four window closers.
#pragma once

#include <cstdint>

#include "automation/text.h"

namespace arenix::page {

using automation::Text;

/// A <script> block defining OrvelSwapImgRestore, OrvelPreloadImages,
/// OrvelFindObject and OrvelSwapImage.
Text ScriptSwapImage();

/// Statements that close the current window without the browser's question.
Text CloseWindowNoMessagebox();
/// The same for the top window.
Text CloseTopWindowNoMessagebox();
/// A centred transparent frame showing the page that closes the window.
Text CloseWindowCurrent();
/// A head with base target "_self"; with refresh, a body start tag whose
/// unload handler reloads the window that opened this one.
Text CloseWindowModal(bool refresh);

}  // namespace arenix::page

namespace arenix::page {
/// The script that reports an edit and reloads the window that opened this
/// one (or the dialog's caller): an alert of `title` when it is not empty,
/// then the reload, then, with `is_close` 1, the window closers.
Text OpenerEditRefresh(automation::TextView title, uint8_t is_close);
}  // namespace arenix::page
