// ArenixCls: the component's public class. A page creates one per request
// ("Arenix.ArenixCls") and calls its 211 methods, passing its host objects,
// connection and record set as by-reference variants.
//
// Every method copies its texts, passes the by-reference variants through,
// calls one procedure of its subsystem and returns that procedure's result.
// An object keeps its hash object and the site its file methods work on,
// which the host's server object hands over when it creates the object
// (empty until then: every path refused).
//
// Not thread-safe: one object belongs to one request thread.
#pragma once

#include <memory>
#include <vector>

#include "arenix/frame/catalogue_macros.h"
#include "arenix/hash/md5.h"
#include "platform/site.h"

namespace arenix {

using automation::Ref;
using automation::Text;
using automation::TextView;
using automation::Variant;

class ArenixCls : public automation::Object, public platform::UsesSite {
 public:
  /// Creates the hash object and deploys the component's library list.
  ArenixCls();
  ~ArenixCls() override;

  Text ClassName() const override { return u"ArenixCls"; }
  /// By-name calls of the catalogue's methods: 438 for an unknown name.
  Variant Invoke(TextView name, automation::InvokeKind kind,
                 std::span<Variant* const> args) override;
  /// The catalogue's methods, as the script bridge asks about them.
  const automation::MemberTable* Members() const override;

  /// The site of the file methods that are given no server object.
  void UseSite(const platform::Site& site) override { site_ = site; }
  const platform::Site& site() const { return site_; }

  /// The hash object this component keeps.
  hash::Orvel_Class_Md5& hash_object() { return *hash_; }

#define ARENIX_METHOD(name, result, description, params) \
  ARENIX_CTYPE(result) name(ARENIX_DROP_FIRST(params));
#define ARG(n, t) , ARENIX_CTYPE(t) n
#define OPT(n, t, d) , ARENIX_CTYPE(t) n = ARENIX_CTYPE(t)(d)
#define REF(n) , automation::Variant& n
#define REFT(n, t) , ARENIX_CTYPE(t) & n
#define OPTREF(n, d) \
  , automation::Ref<automation::Variant> n = automation::Ref<automation::Variant>(automation::Variant(d))
#define OPTREFT(n, t, d) \
  , automation::Ref<ARENIX_CTYPE(t)> n = automation::Ref<ARENIX_CTYPE(t)>(ARENIX_CTYPE(t)(d))
#include "arenix/frame/catalogue.def"
#include "arenix/frame/catalogue_undef.h"

 private:
  std::shared_ptr<hash::Orvel_Class_Md5> hash_;
  platform::Site site_;
};

/// The catalogue in interface order, with a thunk per method.
const std::vector<automation::MethodEntry>& Catalogue();

/// The catalogue as a member table: every entry a method, its id its index
/// in the catalogue.
const automation::MemberTable& CatalogueMembers();

/// The catalogue entry of a name (ASCII case ignored), or null.
const automation::MethodEntry* FindMethod(TextView name);

/// Calls a catalogue method by name on an object: 438 naming an unknown
/// method; left-out trailing arguments take their defaults.
Variant CallMethod(ArenixCls& self, TextView name, std::span<Variant* const> args);

/// Registers the component's classes and the platform's stand-ins under
/// their programmatic names (once; later calls do nothing).
void RegisterClasses();

}  // namespace arenix
