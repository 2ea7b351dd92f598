#include "platform/classes.h"

#include "platform/regexp.h"

namespace platform {

void RegisterClasses() { RegisterRegExpClass(); }

}  // namespace platform
