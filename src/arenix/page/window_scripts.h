// The small script blocks that the error page embeds and many renderers
// reuse: image rollover functions and the four window closers.
#pragma once

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
