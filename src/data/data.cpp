#include "data/data.h"

#include "automation/member_table.h"

namespace data {

namespace {
// The default member is the connection text.
const automation::MemberTable kMembers{
    {u"", 0, automation::kGet, 0, 0},
    {u"ConnectionString", 0, automation::kGet, 0, 0},
};
}  // namespace

const automation::MemberTable* Connection::Members() const { return &kMembers; }

Variant Connection::Invoke(TextView name, automation::InvokeKind kind,
                           std::span<Variant* const> args) {
  kMembers.Resolve(name, kind, args.size());
  return ConnectionString();
}

}  // namespace data
