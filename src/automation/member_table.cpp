#include "automation/member_table.h"

#include <algorithm>

#include "automation/dispatch.h"
#include "automation/runtime.h"
#include "automation/text.h"

namespace automation {

MemberTable::MemberTable(std::initializer_list<MemberDef> defs) : defs_(defs) { Index(); }

MemberTable::MemberTable(std::span<const MethodEntry> methods) {
  defs_.reserve(methods.size());
  for (size_t i = 0; i < methods.size(); ++i) {
    const auto& params = methods[i].decl.params;
    const int required = static_cast<int>(std::count_if(params.begin(), params.end(),
                                                        [](const ParamDecl& p) { return !p.optional; }));
    defs_.push_back({methods[i].decl.name, static_cast<int>(i), kMethod, required, static_cast<int>(params.size())});
  }
  Index();
}

namespace {
// Names compare without regard to ASCII case, as they always have; the
// caller's text is folded as it is compared, without a lower-cased copy.
char16_t FoldAscii(char16_t c) { return (c >= u'A' && c <= u'Z') ? c + 32 : c; }
bool FoldedLess(TextView folded, TextView name) {
  const size_t n = std::min(folded.size(), name.size());
  for (size_t i = 0; i < n; ++i) {
    const char16_t b = FoldAscii(name[i]);
    if (folded[i] != b) return folded[i] < b;
  }
  return folded.size() < name.size();
}
}  // namespace

void MemberTable::Index() {
  sorted_.reserve(defs_.size());
  for (size_t i = 0; i < defs_.size(); ++i) sorted_.emplace_back(AsciiLower(defs_[i].name), i);
  std::sort(sorted_.begin(), sorted_.end());
}

const MemberDef* MemberTable::Find(TextView name) const {
  auto it = std::lower_bound(sorted_.begin(), sorted_.end(), name,
                             [](const auto& e, TextView k) { return FoldedLess(e.first, k); });
  if (it == sorted_.end() || !EqualsNoCase(it->first, name)) return nullptr;
  return &defs_[it->second];
}

int MemberTable::Resolve(TextView name, InvokeKind kind, size_t args) const {
  const MemberDef* d = Find(name);
  if (!d) ThrowNoSuchMember(name);
  const bool put = kind == InvokeKind::PropertyPut;
  if (!(d->use & (put ? kPut : kGet | kMethod))) ThrowNoSuchMember(name);
  if (put) {
    if (args == 0) throw Error(err::kArgNotOptional);
    --args;  // the new value
  }
  const int n = static_cast<int>(args);
  if (n < d->min_args) throw Error(err::kArgNotOptional);
  if (d->max_args != kAnyArgs && n > d->max_args) throw Error(err::kWrongArgCount);
  return d->id;
}

bool IsPropertyUse(const MemberDef& def) {
  return (def.use & kGet) && !(def.use & kMethod) && def.max_args == 0;
}

}  // namespace automation
