// The pieces the editor block is assembled from (see editor.h): the
// component's script source, its built-in style sheet and its icon set.
#pragma once

#include "automation/text.h"

namespace arenix::script::editor {

using automation::Text;
using automation::TextView;

/// The component's script, one statement or declaration a line (LF), with
/// the line "@STYLE@" where the style set-up puts the two constants.
TextView ScriptSource();

/// The built-in style sheet on one line, without single quotes.
Text StyleSheet();

/// The built-in icon set: one hidden <svg> of <symbol id="icon-NAME">
/// elements, on one line, without single quotes.
Text IconSet();

}  // namespace arenix::script::editor
