#include "automation/object.h"

#include "automation/member_table.h"

namespace automation {

void ThrowNoSuchMember(TextView name) {
  throw Error(err::kNoSuchMember,
              StandardDescription(err::kNoSuchMember) + u": '" + Text(name) + u"'");
}

Variant Object::Invoke(TextView name, InvokeKind, std::span<Variant* const>) {
  ThrowNoSuchMember(name);
}

bool Object::IsProperty(TextView name) const {
  const MemberTable* table = Members();
  if (!table) return false;
  const MemberDef* def = table->Find(name);
  return def && IsPropertyUse(*def);
}

}  // namespace automation
