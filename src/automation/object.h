// Object: the base of every automation object the component hands around
// (host objects, connections, record sets, the component's own classes).
// Members are reached by name through Invoke, as a late-bound caller does;
// C++ code inside the component reaches typed interfaces through ObjectCast.
#pragma once

#include <memory>
#include <span>

#include "automation/error.h"
#include "automation/variant.h"

namespace automation {

enum class InvokeKind { Method, PropertyGet, PropertyPut };

class MemberTable;

class Object : public std::enable_shared_from_this<Object> {
 public:
  virtual ~Object() = default;

  /// The class name that TypeName() reports ("ArenixCls", "Recordset").
  virtual Text ClassName() const = 0;

  /// Calls member `name` (empty text: the default member) with the caller's
  /// variables; a by-reference parameter may change what they hold. For
  /// PropertyPut the last argument is the new value.
  /// Default: error 438 naming the member.
  virtual Variant Invoke(TextView name, InvokeKind kind, std::span<Variant* const> args);

  /// The class's member table, when it declares one.
  virtual const MemberTable* Members() const { return nullptr; }

  /// True when member `name` reads as a value without a call (a script
  /// reads `rs.EOF`, but calls `rs.MoveNext()`). Answered from the member
  /// table; a class without one has no such members.
  bool IsProperty(TextView name) const;
};

/// Raises 438 "Object doesn't support this property or method: 'name'".
[[noreturn]] void ThrowNoSuchMember(TextView name);

/// The one checked cast from a variant to a typed interface: raises 424
/// "Object required" when the variant holds no object of that kind
/// (Nothing, a number, a text, another class).
template <class T>
T& ObjectCast(const Variant& v) {
  if (v.IsObject() && v.object()) {
    if (auto* p = dynamic_cast<T*>(v.object().get())) return *p;
  }
  throw Error(err::kObjectRequired);
}

/// Like ObjectCast but yields null instead of raising.
template <class T>
T* ObjectTryCast(const Variant& v) {
  if (v.IsObject() && v.object()) return dynamic_cast<T*>(v.object().get());
  return nullptr;
}

}  // namespace automation
