#include "arenix/chart/chart_image.h"

#include <memory>

#include "automation/error.h"
#include "automation/registry.h"
#include "platform/chart_image.h"

namespace arenix::chart {

int16_t GraphiWithOwc(TextView categories, TextView values, TextView series_caption, int16_t type,
                      TextView title, int16_t orientation, TextView filter, int16_t width, int16_t height,
                      TextView path) {
  std::shared_ptr<platform::ChartSpace> space;
  try {
    space = std::dynamic_pointer_cast<platform::ChartSpace>(automation::CreateObject(u"owc11.chartspace"));
  } catch (const automation::Error&) {
  }
  if (!space) return 1;
  space->SetSeriesCaption(series_caption);
  space->SetCategories(categories);
  space->SetValues(values);
  space->SetType(type);
  space->SetTitle(title);
  space->SetOrientation(orientation);
  return space->ExportPicture(path, filter, width, height) ? 0 : 2;
}

}  // namespace arenix::chart
