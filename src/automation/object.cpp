#include "automation/object.h"

namespace automation {

void ThrowNoSuchMember(TextView name) {
  throw Error(err::kNoSuchMember,
              StandardDescription(err::kNoSuchMember) + u": '" + Text(name) + u"'");
}

Variant Object::Invoke(TextView name, InvokeKind, std::span<Variant* const>) {
  ThrowNoSuchMember(name);
}

}  // namespace automation
