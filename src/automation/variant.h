// Variant: the automation value every public method takes and returns.
//
// Holds Empty, Null, Boolean (true is -1 when read as a number), Byte,
// Integer (16-bit), Long (32-bit), Single, Double, Currency, Date (serial day
// number), String, Object (Nothing is a null object), Array (with its lower
// bound) and byte arrays. Coercions live in coerce.h.
//
// Not thread-safe; a Variant belongs to one request thread.
#pragma once

#include <cstdint>
#include <memory>
#include <variant>
#include <vector>

#include "automation/text.h"

namespace automation {

class Object;
class Variant;
using ObjectPtr = std::shared_ptr<Object>;
using Bytes = std::vector<uint8_t>;

/// Signed 64-bit fixed point with four decimals (value × 10,000).
struct Currency {
  int64_t scaled = 0;
  static constexpr int64_t kScale = 10000;
  friend bool operator==(Currency, Currency) = default;
  friend auto operator<=>(Currency, Currency) = default;
};

/// A date as the serial day number: whole days since 1899-12-30, the
/// fraction is the time of day.
struct Date {
  double serial = 0;
  friend bool operator==(Date, Date) = default;
};

struct NullValue {
  friend bool operator==(NullValue, NullValue) = default;
};
struct EmptyValue {
  friend bool operator==(EmptyValue, EmptyValue) = default;
};

/// An automation array of variants: one-dimensional, or two-dimensional
/// when `columns` > 0. A two-dimensional array keeps its items row by row
/// (the first index is the row, from `lbound`), `columns` items a row, the
/// second index running from `lbound2`.
struct Array {
  int32_t lbound = 0;
  std::vector<Variant> items;
  int32_t ubound() const;  // of the first dimension; defined below, where Variant is complete
  int32_t columns = 0;
  int32_t lbound2 = 0;
};

/// The automation type numbers (those of VarType()).
enum class VarType : uint16_t {
  Empty = 0,
  Null = 1,
  Integer = 2,
  Long = 3,
  Single = 4,
  Double = 5,
  Currency = 6,
  Date = 7,
  String = 8,
  Object = 9,
  Boolean = 11,
  Variant = 12,
  Byte = 17,
  Array = 0x2000,
  ByteArray = 0x2000 | 17,
};

namespace detail {
// Value semantics for the array alternative: copying a variant copies its
// array, as assignment does in the automation languages.
class ArrayBox {
 public:
  ArrayBox();
  explicit ArrayBox(Array a);
  ArrayBox(const ArrayBox& other);
  ArrayBox(ArrayBox&&) noexcept = default;
  ArrayBox& operator=(const ArrayBox& other);
  ArrayBox& operator=(ArrayBox&&) noexcept = default;
  ~ArrayBox();
  friend bool operator==(const ArrayBox& a, const ArrayBox& b);
  Array& get() { return *p_; }
  const Array& get() const { return *p_; }

 private:
  std::unique_ptr<Array> p_;
};
}  // namespace detail

class Variant {
 public:
  using Storage = std::variant<EmptyValue, NullValue, bool, uint8_t, int16_t, int32_t, float,
                               double, Currency, Date, Text, ObjectPtr, detail::ArrayBox, Bytes>;

  Variant() = default;
  Variant(NullValue) : v_(NullValue{}) {}
  Variant(bool b) : v_(b) {}
  Variant(uint8_t b) : v_(b) {}
  Variant(int16_t i) : v_(i) {}
  Variant(int32_t i) : v_(i) {}
  Variant(float f) : v_(f) {}
  Variant(double d) : v_(d) {}
  Variant(Currency c) : v_(c) {}
  Variant(Date d) : v_(d) {}
  Variant(Text s) : v_(std::move(s)) {}
  Variant(TextView s) : v_(Text(s)) {}
  Variant(const char16_t* s) : v_(Text(s)) {}
  Variant(ObjectPtr o) : v_(std::move(o)) {}
  Variant(Array a) : v_(detail::ArrayBox(std::move(a))) {}
  Variant(Bytes b) : v_(std::move(b)) {}
  // Narrow strings would silently become Boolean; say u"..." instead.
  Variant(const char*) = delete;

  static Variant Null() { return Variant(NullValue{}); }
  /// An object variable that holds Nothing.
  static Variant Nothing() { return Variant(ObjectPtr()); }

  VarType type() const;
  /// The automation type name: "Empty", "Integer", "String", "Byte()"...
  /// For objects, the class name of the object ("Nothing" when null).
  Text TypeName() const;

  bool IsEmpty() const { return v_.index() == 0; }
  bool IsNull() const { return v_.index() == 1; }
  bool IsString() const { return std::holds_alternative<Text>(v_); }
  bool IsObject() const { return std::holds_alternative<ObjectPtr>(v_); }
  bool IsArray() const { return std::holds_alternative<detail::ArrayBox>(v_); }
  bool IsBytes() const { return std::holds_alternative<Bytes>(v_); }
  /// Integer, Long, Single, Double, Currency, Byte or Boolean.
  bool IsNumber() const;

  template <class T>
  bool Is() const {
    return std::holds_alternative<T>(v_);
  }
  /// REQUIRES: Is<T>().
  template <class T>
  const T& As() const {
    return *std::get_if<T>(&v_);
  }
  template <class T>
  T& As() {
    return *std::get_if<T>(&v_);
  }

  /// REQUIRES: IsString().
  const Text& text() const { return As<Text>(); }
  /// REQUIRES: IsObject(); may be null (Nothing).
  const ObjectPtr& object() const { return As<ObjectPtr>(); }
  /// REQUIRES: IsArray().
  const Array& array() const { return std::get<detail::ArrayBox>(v_).get(); }
  Array& array() { return std::get<detail::ArrayBox>(v_).get(); }
  /// REQUIRES: IsBytes().
  const Bytes& bytes() const { return As<Bytes>(); }

  const Storage& storage() const { return v_; }

  /// Exact equality of type and value (not the automation "=" operator).
  friend bool operator==(const Variant& a, const Variant& b);

 private:
  Storage v_;
};

inline int32_t Array::ubound() const {
  const size_t rows = columns > 0 ? items.size() / static_cast<size_t>(columns) : items.size();
  return lbound + static_cast<int32_t>(rows) - 1;
}

}  // namespace automation
