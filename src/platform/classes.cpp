#include "platform/classes.h"

#include "platform/dictionary.h"
#include "platform/regexp.h"
#include "platform/xmlhttp.h"

namespace platform {

void RegisterClasses() {
  RegisterDictionaryClass();
  RegisterRegExpClass();
  RegisterXmlHttpClass();
}

}  // namespace platform
