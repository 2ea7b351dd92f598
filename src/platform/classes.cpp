#include "platform/classes.h"

#include "platform/chart_image.h"
#include "platform/regexp.h"
#include "platform/xmlhttp.h"

namespace platform {

void RegisterClasses() {
  RegisterRegExpClass();
  RegisterChartSpaceClass();
  RegisterXmlHttpClass();
}

}  // namespace platform
