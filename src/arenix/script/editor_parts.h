// The pieces the editor block is assembled from (see editor.h) besides the
// component's script (js/editor.js): its built-in style sheet and its icon
// set, which the script's markers ${style_sheet} and ${icon_set} take in.
#pragma once

#include "automation/text.h"

namespace arenix::script::editor {

using automation::Text;
using automation::TextView;

/// The built-in style sheet on one line, without single quotes.
Text StyleSheet();

/// The built-in icon set: one hidden <svg> of <symbol id="icon-NAME">
/// elements, on one line, without single quotes.
Text IconSet();

}  // namespace arenix::script::editor
