// By-name dispatch: the declared shape of a method (its parameters with
// types, by-reference flags and defaults) and the machinery that calls a C++
// member function with the caller's variants, coercing each argument to its
// declared type by the automation rules.
#pragma once

#include <span>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "automation/coerce.h"
#include "automation/object.h"
#include "automation/ref.h"

namespace automation {

/// The declared types of parameters and results.
enum class ParamType { Text, Boolean, Int16, Int32, Double, Currency, Byte, Variant, ByteArray, None };

/// The type word used in listings: "text", "Boolean", "16-bit integer"...
std::u16string_view ParamTypeWord(ParamType t);

/// Coerces a value to a declared type (Variant and ByteArray pass unchanged).
Variant CoerceTo(ParamType t, const Variant& v);

struct ParamDecl {
  Text name;
  ParamType type;
  bool by_ref;
  bool optional;
  Variant default_value;  // already of the declared type
};

struct MethodDecl {
  Text name;
  ParamType result;
  std::vector<ParamDecl> params;
  Text description = {};  // one line of English for listings; may be empty
};

/// "Name(a, ByRef b, [c = 1]) -> text"
Text DescribeMethod(const MethodDecl& m);
/// A default as it is written in listings: "" texts quoted, True/False, numbers.
Text DescribeDefault(const Variant& v);

/// Calls a member with the caller's variables; slots has one entry per
/// declared parameter (defaults already filled in).
using Thunk = Variant (*)(Object& self, std::span<Variant* const> slots);

struct MethodEntry {
  MethodDecl decl;
  Thunk thunk;
};

/// Fills left-out trailing arguments with their defaults and calls the
/// entry. Literal arguments for by-reference parameters are passed as the
/// caller's temporaries (args). Raises 449 for a missing required argument and
/// 450 for too many.
Variant CallEntry(const MethodEntry& entry, Object& self, std::span<Variant* const> args);

namespace detail {

template <class T>
T CoerceArg(const Variant& v);
template <> inline Text CoerceArg<Text>(const Variant& v) { return CStr(v); }
template <> inline bool CoerceArg<bool>(const Variant& v) { return CBool(v); }
template <> inline int16_t CoerceArg<int16_t>(const Variant& v) { return CInt(v); }
template <> inline int32_t CoerceArg<int32_t>(const Variant& v) { return CLng(v); }
template <> inline double CoerceArg<double>(const Variant& v) { return CDbl(v); }
template <> inline Currency CoerceArg<Currency>(const Variant& v) { return CCur(v); }
template <> inline uint8_t CoerceArg<uint8_t>(const Variant& v) { return CByte(v); }
template <> inline Variant CoerceArg<Variant>(const Variant& v) { return v; }

// Holder<P>: turns the caller's slot into the argument of C++ type P, and
// after the call writes a changed by-reference value back.
template <class P>
struct Holder {
  P value;
  explicit Holder(Variant* slot) : value(CoerceArg<P>(*slot)) {}
  P&& get() { return std::move(value); }
  void finish() {}
};

template <>
struct Holder<Variant&> {
  Variant* slot;
  explicit Holder(Variant* s) : slot(s) {}
  Variant& get() { return *slot; }
  void finish() {}
};

// A typed by-reference parameter: coerced into a temporary, written back
// only when the method changed it (an untouched Empty stays Empty).
template <class T>
struct Holder<T&> {
  Variant* slot;
  T value;
  T original;
  explicit Holder(Variant* s) : slot(s), value(CoerceArg<T>(*s)), original(value) {}
  T& get() { return value; }
  void finish() {
    if (!(value == original)) *slot = Variant(value);
  }
};

template <>
struct Holder<Ref<Variant>> {
  Variant* slot;
  explicit Holder(Variant* s) : slot(s) {}
  Ref<Variant> get() { return Ref<Variant>(*slot); }
  void finish() {}
};

template <class T>
struct Holder<Ref<T>> : Holder<T&> {
  using Holder<T&>::Holder;
  Ref<T> get() { return Ref<T>(this->value); }
};

template <class F>
struct MemberTraits;
template <class C, class R, class... A>
struct MemberTraits<R (C::*)(A...)> {
  using Class = C;
  using Result = R;
  using Args = std::tuple<A...>;
};

template <auto Fn, class C, class R, class... A, size_t... I>
Variant CallMember(C& self, [[maybe_unused]] std::span<Variant* const> slots, std::tuple<A...>*,
                   std::index_sequence<I...>) {
  // Braced initialisation coerces the arguments left to right, so the first
  // bad argument is the one reported.
  std::tuple<Holder<A>...> holders{Holder<A>(slots[I])...};
  if constexpr (std::is_void_v<R>) {
    (self.*Fn)(std::get<I>(holders).get()...);
    (std::get<I>(holders).finish(), ...);
    return Variant();
  } else {
    R r = (self.*Fn)(std::get<I>(holders).get()...);
    (std::get<I>(holders).finish(), ...);
    return Variant(std::move(r));
  }
}

}  // namespace detail

/// The thunk of a member function: MakeThunk<&Class::Method>().
template <auto Fn>
Thunk MakeThunk() {
  using Traits = detail::MemberTraits<decltype(Fn)>;
  using C = typename Traits::Class;
  using R = typename Traits::Result;
  using Args = typename Traits::Args;
  return [](Object& self, std::span<Variant* const> slots) -> Variant {
    return detail::CallMember<Fn, C, R>(static_cast<C&>(self), slots, static_cast<Args*>(nullptr),
                                        std::make_index_sequence<std::tuple_size_v<Args>>{});
  };
}

}  // namespace automation
