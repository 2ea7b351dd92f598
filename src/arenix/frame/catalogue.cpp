#include "arenix/frame/arenix_cls.h"

#include "automation/member_table.h"

namespace arenix {
namespace {

std::vector<automation::MethodEntry> BuildCatalogue() {
  std::vector<automation::MethodEntry> table = {
#define ARENIX_METHOD(name, result, description, params)                         \
  {{u"" #name, ARENIX_PTYPE(result), {ARENIX_DROP_FIRST(params)}, u"" description}, \
   automation::MakeThunk<&ArenixCls::name>()},
#define ARG(n, t) , automation::ParamDecl{u"" #n, ARENIX_PTYPE(t), false, false, {}}
#define OPT(n, t, d) , automation::ParamDecl{u"" #n, ARENIX_PTYPE(t), false, true, automation::Variant(d)}
#define REF(n) , automation::ParamDecl{u"" #n, ARENIX_PTYPE(variant), true, false, {}}
#define REFT(n, t) , automation::ParamDecl{u"" #n, ARENIX_PTYPE(t), true, false, {}}
#define OPTREF(n, d) , automation::ParamDecl{u"" #n, ARENIX_PTYPE(variant), true, true, automation::Variant(d)}
#define OPTREFT(n, t, d) , automation::ParamDecl{u"" #n, ARENIX_PTYPE(t), true, true, automation::Variant(d)}
#include "arenix/frame/catalogue.def"
#include "arenix/frame/catalogue_undef.h"
  };
  // Defaults are written once, in the declaration; here they take the
  // declared type, as a caller's binding would give them.
  for (auto& entry : table)
    for (auto& p : entry.decl.params)
      if (p.optional) p.default_value = automation::CoerceTo(p.type, p.default_value);
  return table;
}

}  // namespace

const std::vector<automation::MethodEntry>& Catalogue() {
  static const std::vector<automation::MethodEntry> table = BuildCatalogue();
  return table;
}

const automation::MemberTable& CatalogueMembers() {
  static const automation::MemberTable table{std::span<const automation::MethodEntry>(Catalogue())};
  return table;
}

const automation::MethodEntry* FindMethod(TextView name) {
  const automation::MemberDef* def = CatalogueMembers().Find(name);
  return def ? &Catalogue()[static_cast<size_t>(def->id)] : nullptr;
}

Variant CallMethod(ArenixCls& self, TextView name, std::span<Variant* const> args) {
  const automation::MethodEntry* entry = FindMethod(name);
  if (!entry) automation::ThrowNoSuchMember(name);
  return automation::CallEntry(*entry, self, args);
}

Variant ArenixCls::Invoke(TextView name, automation::InvokeKind kind,
                          std::span<Variant* const> args) {
  const int id = CatalogueMembers().Resolve(name, kind, args.size());
  return automation::CallEntry(Catalogue()[static_cast<size_t>(id)], *this, args);
}

const automation::MemberTable* ArenixCls::Members() const { return &CatalogueMembers(); }

}  // namespace arenix
