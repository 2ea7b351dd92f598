// Calls an ArenixCls method by name as a page does (catalogue defaults
// fill what is left out) and gives the result as UTF-8 for readable test
// failures.
#pragma once

#include <string>
#include <vector>

#include "arenix/frame/arenix_cls.h"
#include "automation/coerce.h"

namespace arenix::show::testing {

using automation::Text;
using automation::TextView;
using automation::Variant;

inline Variant ListCall(TextView name, std::vector<Variant> args) {
  ArenixCls cls;
  std::vector<Variant*> ptrs;
  for (Variant& a : args) ptrs.push_back(&a);
  return CallMethod(cls, name, ptrs);
}

inline std::string ListCallText(TextView name, std::vector<Variant> args) {
  return automation::ToUtf8(automation::CStr(ListCall(name, std::move(args))));
}

inline std::string U8(TextView t) { return automation::ToUtf8(t); }

}  // namespace arenix::show::testing
