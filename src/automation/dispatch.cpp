#include "automation/dispatch.h"

namespace automation {

std::u16string_view ParamTypeWord(ParamType t) {
  switch (t) {
    case ParamType::Text: return u"text";
    case ParamType::Boolean: return u"Boolean";
    case ParamType::Int16: return u"16-bit integer";
    case ParamType::Int32: return u"32-bit integer";
    case ParamType::Double: return u"64-bit float";
    case ParamType::Currency: return u"currency";
    case ParamType::Byte: return u"byte";
    case ParamType::Variant: return u"variant";
    case ParamType::ByteArray: return u"byte array";
    case ParamType::None: return u"none";
  }
  return u"variant";
}

Variant CoerceTo(ParamType t, const Variant& v) {
  switch (t) {
    case ParamType::Text: return CStr(v);
    case ParamType::Boolean: return CBool(v);
    case ParamType::Int16: return CInt(v);
    case ParamType::Int32: return CLng(v);
    case ParamType::Double: return CDbl(v);
    case ParamType::Currency: return CCur(v);
    case ParamType::Byte: return CByte(v);
    default: return v;
  }
}

Text DescribeDefault(const Variant& v) {
  if (v.IsString()) {
    Text out = u"\"";
    for (char16_t c : v.text()) {
      if (c == u'"') out += u"\"\"";
      else out.push_back(c);
    }
    return out + u"\"";
  }
  if (v.IsEmpty()) return u"Empty";
  if (v.IsNull()) return u"Null";
  return CStr(v);
}

Text DescribeMethod(const MethodDecl& m) {
  Text out = m.name + u"(";
  bool first = true;
  for (const auto& p : m.params) {
    if (!first) out += u", ";
    first = false;
    Text one = (p.by_ref ? u"ByRef " : u"") + p.name;
    if (p.optional) one = u"[" + one + u" = " + DescribeDefault(p.default_value) + u"]";
    out += one;
  }
  out += u") -> ";
  out += ParamTypeWord(m.result);
  return out;
}

Variant CallEntry(const MethodEntry& entry, Object& self, std::span<Variant* const> args) {
  const auto& params = entry.decl.params;
  if (args.size() > params.size()) throw Error(err::kWrongArgCount);
  if (args.size() == params.size()) return entry.thunk(self, args);
  // Left-out trailing arguments: temporaries holding the defaults. No method
  // has more than a few dozen parameters, so they live on the stack.
  constexpr size_t kMax = 64;
  if (params.size() > kMax) throw Error(err::kWrongArgCount);
  Variant defaults[kMax];
  Variant* slots[kMax];
  for (size_t i = 0; i < args.size(); ++i) slots[i] = args[i];
  for (size_t i = args.size(); i < params.size(); ++i) {
    if (!params[i].optional)
      throw Error(err::kArgNotOptional,
                  StandardDescription(err::kArgNotOptional) + u": '" + params[i].name + u"'");
    defaults[i] = params[i].default_value;
    slots[i] = &defaults[i];
  }
  return entry.thunk(self, std::span<Variant* const>(slots, params.size()));
}

}  // namespace automation
