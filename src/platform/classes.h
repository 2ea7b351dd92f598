// The platform's stand-ins under their programmatic names.
#pragma once

namespace platform {

/// Registers every platform class with the automation registry ("VBScript.RegExp", ...).
void RegisterClasses();

}  // namespace platform
