#include "platform/classes.h"

#include "platform/chart_image.h"
#include "platform/dictionary.h"
#include "platform/regexp.h"
#include "platform/xmlhttp.h"

namespace platform {

void RegisterClasses() {
  RegisterDictionaryClass();
  RegisterRegExpClass();
  RegisterChartSpaceClass();
  RegisterXmlHttpClass();
}

}  // namespace platform
