#include "data/data.h"

namespace data {

Variant Connection::Invoke(TextView name, automation::InvokeKind kind,
                           std::span<Variant* const> args) {
  if ((name.empty() || automation::EqualsNoCase(name, u"ConnectionString")) &&
      kind != automation::InvokeKind::PropertyPut && args.empty())
    return ConnectionString();
  return Object::Invoke(name, kind, args);
}

}  // namespace data
