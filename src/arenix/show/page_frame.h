// Window-like frames that a page draws its content in: the form frame with
// a title bar and close button, the login frame and the about box built on
// it, and the folder picker shown inside such a frame.
#pragma once

#include <cstdint>

#include "automation/variant.h"

namespace arenix::show {

using automation::Text;
using automation::TextView;
using automation::Variant;

/// The version the login frame shows.
inline constexpr char16_t kVersionText[] = u"版本号：08.34.09";

/// CommShowForm: a centred frame `width` x `height` with the title bar and
/// a close button that closes the window (`close_window`) or goes to
/// "Index.asp"; the content row is 62 pixels shorter than the frame (a
/// height below -32706 overflows, error 6).
Text ShowForm(int16_t width, int16_t height, TextView content, bool close_window);

/// CommShowLogin: the login frame (version row, title image or logo, the
/// credit block) around `content`, in a 308 x 400 form frame that closes
/// the window.
Text ShowLogin(TextView content, TextView title_image);

/// CommShowAbout: the about box (author, support and contact lines) in the
/// same frame, without the credit block.
Text ShowAbout(TextView title_image);

/// CommShowFormFileSelect: the folder `search_path` (mapped through the
/// server object unless it holds ":") and one link per entry that calls
/// the page's SelectPathFile(name); `search_type` 1 lists folders, other
/// values files.
Text ShowFormFileSelect(Variant& server, TextView search_path, int16_t search_type);

}  // namespace arenix::show
