// Texts the frame tests expect in many outputs.
#pragma once

#include <string>

namespace arenix::show::testing {

/// The close-window statements as the renderers embed them.
inline const std::string kCloser =
    "window.opener=null;window.open(\"\",\"_self\");window.close();"
    "window.top.open(\"\",\"_top\").close();parent.close();";

}  // namespace arenix::show::testing
