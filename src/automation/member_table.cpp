#include "automation/member_table.h"

#include <algorithm>

#include "automation/runtime.h"

namespace automation {

MemberTable::MemberTable(std::initializer_list<MemberDef> defs) : defs_(defs) {
  sorted_.reserve(defs_.size());
  for (size_t i = 0; i < defs_.size(); ++i) sorted_.emplace_back(LCase(defs_[i].name), i);
  std::sort(sorted_.begin(), sorted_.end());
}

const MemberDef* MemberTable::Find(TextView name) const {
  const Text key = LCase(name);
  auto it = std::lower_bound(sorted_.begin(), sorted_.end(), key,
                             [](const auto& e, const Text& k) { return e.first < k; });
  if (it == sorted_.end() || it->first != key) return nullptr;
  return &defs_[it->second];
}

int MemberTable::Resolve(TextView name, InvokeKind kind, size_t args) const {
  const MemberDef* d = Find(name);
  if (!d) ThrowNoSuchMember(name);
  const uint8_t need = kind == InvokeKind::PropertyPut ? kPut
                       : kind == InvokeKind::PropertyGet ? kGet | kMethod
                                                          : kMethod | kGet;
  if (!(d->use & need)) ThrowNoSuchMember(name);
  size_t n = args;
  if (kind == InvokeKind::PropertyPut && n > 0) --n;  // the new value
  if (static_cast<int>(n) < d->min_args || (d->max_args != kAnyArgs && static_cast<int>(n) > d->max_args))
    throw Error(err::kWrongArgCount);
  return d->id;
}

bool IsPropertyUse(const MemberDef& def) {
  return (def.use & kGet) && !(def.use & kMethod) && def.min_args == 0;
}

}  // namespace automation
