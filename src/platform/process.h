// Starting other programs.
#pragma once

#include <string>
#include <vector>

namespace platform {

/// Starts argv[0] (looked up on PATH) with its arguments as a separate
/// process and returns at once, without waiting for it to finish; the
/// process is not left as a zombie of this one. False when it could not be
/// started at all.
bool StartDetached(const std::vector<std::string>& argv);

}  // namespace platform
