#include "arenix/frame/data_source.h"

#include "automation/coerce.h"
#include "data/data.h"

namespace arenix::frame {

using automation::Text;
using automation::Variant;

namespace {

bool IsBlank(const Text& s) {
  for (char16_t c : s)
    if (c != u' ') return false;
  return true;
}

// The presence test: a variable counts as present unless it is Empty, Null
// or blank text; when its text form cannot even be read, it counts as present.
bool IsPresent(const Variant& v) {
  if (v.IsEmpty() || v.IsNull()) return false;
  try {
    return !IsBlank(automation::CStr(v));
  } catch (...) {
    return true;
  }
}

}  // namespace

void CloseAndRelease(Variant& v) {
  if (!IsPresent(v)) return;
  try {
    if (auto* rs = automation::ObjectTryCast<data::Recordset>(v))
      rs->Close();
    else if (auto* conn = automation::ObjectTryCast<data::Connection>(v))
      conn->Close();
    else if (v.IsObject() && v.object())
      v.object()->Invoke(u"Close", automation::InvokeKind::Method, {});
    else
      throw automation::Error(automation::err::kObjectRequired);
  } catch (...) {
    // Closing failures are ignored (an already closed object, say).
  }
  v = Variant::Nothing();
}

void CloseData(Variant& rs, Variant& conn) {
  CloseAndRelease(rs);
  CloseAndRelease(conn);
}

}  // namespace arenix::frame
