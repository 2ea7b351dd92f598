#include "platform/classes.h"

#include "platform/regexp.h"
#include "platform/xmlhttp.h"

namespace platform {

void RegisterClasses() {
  RegisterRegExpClass();
  RegisterXmlHttpClass();
}

}  // namespace platform
