// The platform's stand-ins under their programmatic names. Each layer that
// makes objects has a classes.h of its own (data/classes.h for the data
// access objects): the same idea at two layers.
#pragma once

namespace platform {

/// Registers every platform class with the automation registry ("VBScript.RegExp", ...).
void RegisterClasses();

}  // namespace platform
