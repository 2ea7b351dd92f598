#include "data/classes.h"

#include "automation/registry.h"
#include "data/connection.h"
#include "data/recordset.h"

namespace data {

void RegisterClasses() {
  automation::RegisterClass(u"Adodb.Connection", [] { return std::make_shared<FreeTableConnection>(); });
  automation::RegisterClass(u"Adodb.RecordSet", [] { return std::make_shared<StaticRecordset>(); });
}

}  // namespace data
