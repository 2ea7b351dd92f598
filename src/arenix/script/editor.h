// The rich-text editor that the form field renderer places on edit pages
// for rich-text fields: one <script> element that defines the browser
// component `ice.editor` (class `iceEditor`) with its style sheet and icon
// set, compressed into a single line so that every edit page stays small.
//
// What the pages and the site's upload page rely on is fixed here: the
// names, configuration keys and defaults, tool names, element ids and
// classes, the upload protocol and the messages. The script is this
// project's own.
#pragma once

#include "automation/text.h"

namespace arenix::script {

using automation::Text;
using automation::TextView;

/// The whole editor block, "<script>...</script>" on one line. Built anew on
/// each call.
Text EditorBlock();

/// The block's compression, in this order: tabs become spaces; runs of
/// spaces become one; lines that start (after white space) with "//"
/// disappear, and "; //", "{ //", "} //" with the rest of their line become
/// ";", "{", "}"; CR and LF are removed. An empty text compresses the
/// editor block. Example: CompressScript(u"x = 1; // note\r\ny();") ==
/// u"x = 1;y();".
Text CompressScript(TextView script);

}  // namespace arenix::script
