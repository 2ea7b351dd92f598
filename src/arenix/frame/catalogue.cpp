#include <unordered_map>

#include "arenix/frame/arenix_cls.h"

namespace arenix {
namespace {

std::vector<automation::MethodEntry> BuildCatalogue() {
  std::vector<automation::MethodEntry> table = {
#define ARENIX_METHOD(name, result, status, params)                              \
  {{u"" #name, ARENIX_PTYPE(result), {ARENIX_DROP_FIRST(params)}},               \
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

namespace {
// Method names compare without regard to ASCII case; these let the index be
// searched with the caller's text as it is, without a lower-cased copy.
char16_t FoldAscii(char16_t c) { return (c >= u'A' && c <= u'Z') ? c + 32 : c; }
struct NoCaseHash {
  size_t operator()(TextView s) const {
    size_t h = 14695981039346656037ull;
    for (char16_t c : s) h = (h ^ FoldAscii(c)) * 1099511628211ull;
    return h;
  }
};
struct NoCaseEqual {
  bool operator()(TextView a, TextView b) const { return automation::EqualsNoCase(a, b); }
};
}  // namespace

const automation::MethodEntry* FindMethod(TextView name) {
  static const auto index = [] {
    std::unordered_map<TextView, size_t, NoCaseHash, NoCaseEqual> m;
    const auto& table = Catalogue();
    for (size_t i = 0; i < table.size(); ++i) m.emplace(table[i].decl.name, i);
    return m;
  }();
  auto it = index.find(name);
  return it == index.end() ? nullptr : &Catalogue()[it->second];
}

Variant CallMethod(ArenixCls& self, TextView name, std::span<Variant* const> args) {
  const automation::MethodEntry* entry = FindMethod(name);
  if (!entry) automation::ThrowNoSuchMember(name);
  return automation::CallEntry(*entry, self, args);
}

Variant ArenixCls::Invoke(TextView name, automation::InvokeKind kind,
                          std::span<Variant* const> args) {
  if (kind == automation::InvokeKind::PropertyPut) automation::ThrowNoSuchMember(name);
  return CallMethod(*this, name, args);
}

}  // namespace arenix
