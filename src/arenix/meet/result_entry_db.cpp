#include "arenix/meet/result_entry_db.h"

#include "automation/coerce.h"
#include "automation/object.h"
#include "data/data.h"
#include "data/data_errors.h"

namespace arenix::meet {

using automation::ObjectCast;

size_t WldfRows::Column(TextView name) const {
  for (size_t i = 0; i < names.size(); ++i)
    if (automation::EqualsNoCase(names[i], name)) return i;
  data::ThrowDataError(data::kItemNotFound);
}

WldfDb::WldfDb(Variant& conn, Variant& rs) : conn_(conn), rs_(rs) {
  ObjectCast<data::Connection>(conn_);
  ObjectCast<data::Recordset>(rs_);
}

int32_t WldfDb::Exec(TextView sql) {
  int32_t affected = 0;
  ObjectCast<data::Connection>(conn_).Execute(sql, &affected);
  return affected;
}

WldfRows WldfDb::Read(TextView sql) {
  auto& set = ObjectCast<data::Recordset>(rs_);
  set.Open(sql, conn_, data::kOpenKeyset, data::kLockReadOnly);
  WldfRows out;
  const int columns = set.FieldCount();
  for (int i = 0; i < columns; ++i) out.names.push_back(set.FieldName(i));
  for (; !set.Eof(); set.MoveNext()) {
    std::vector<Variant> row;
    row.reserve(static_cast<size_t>(columns));
    for (int i = 0; i < columns; ++i) row.push_back(set.FieldAt(i));
    out.rows.push_back(std::move(row));
  }
  set.Close();
  return out;
}

Variant WldfDb::Scalar(TextView sql) {
  Variant result = ObjectCast<data::Connection>(conn_).Execute(sql);
  auto* set = automation::ObjectTryCast<data::Recordset>(result);
  if (!set || !set->IsOpen()) return Variant();
  Variant value = set->Eof() || set->Bof() ? Variant() : set->FieldAt(0);
  set->Close();
  return value;
}

Text SqlNumber(double value) { return automation::DoubleToText(value); }

}  // namespace arenix::meet
