// Bodies of the methods whose subsystem is not built yet: each raises 445
// "<name>: not implemented yet". A subsystem that is built turns its entries
// in catalogue.def to BUILT and defines the methods beside its procedures.
#include "arenix/frame/arenix_cls.h"

namespace arenix {
namespace {
[[noreturn]] void ThrowNotImplemented(const char16_t* name) {
  throw automation::Error(automation::err::kNotSupported, Text(name) + u": not implemented yet");
}
}  // namespace

// The parameter list travels in parentheses so that its commas stay inside.
#define ARENIX_METHOD(name, result, status, params) ARENIX_PENDING_##status(name, result, (params))
#define ARENIX_PENDING_BUILT(name, result, params)
#define ARENIX_PENDING_PENDING(name, result, params)                 \
  ARENIX_CTYPE(result) ArenixCls::name(ARENIX_DROP_FIRST params) { \
    ThrowNotImplemented(u"" #name);                                 \
  }
#define ARG(n, t) , ARENIX_CTYPE(t)
#define OPT(n, t, d) , ARENIX_CTYPE(t)
#define REF(n) , automation::Variant&
#define REFT(n, t) , ARENIX_CTYPE(t)&
#define OPTREF(n, d) , automation::Ref<automation::Variant>
#define OPTREFT(n, t, d) , automation::Ref<ARENIX_CTYPE(t)>
#include "arenix/frame/catalogue.def"
#include "arenix/frame/catalogue_undef.h"
#undef ARENIX_PENDING_BUILT
#undef ARENIX_PENDING_PENDING

}  // namespace arenix
