#include "platform/classes.h"

#include "platform/chart_image.h"
#include "platform/regexp.h"

namespace platform {

void RegisterClasses() {
  RegisterRegExpClass();
  RegisterChartSpaceClass();
}

}  // namespace platform
