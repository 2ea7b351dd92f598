#include "automation/variant.h"

#include "automation/object.h"

namespace automation {

namespace detail {
ArrayBox::ArrayBox() : p_(std::make_unique<Array>()) {}
ArrayBox::ArrayBox(Array a) : p_(std::make_unique<Array>(std::move(a))) {}
ArrayBox::ArrayBox(const ArrayBox& other) : p_(std::make_unique<Array>(*other.p_)) {}
ArrayBox& ArrayBox::operator=(const ArrayBox& other) {
  if (this != &other) p_ = std::make_unique<Array>(*other.p_);
  return *this;
}
ArrayBox::~ArrayBox() = default;
bool operator==(const ArrayBox& a, const ArrayBox& b) {
  return a.p_->lbound == b.p_->lbound && a.p_->columns == b.p_->columns &&
         a.p_->lbound2 == b.p_->lbound2 && a.p_->items == b.p_->items;
}
}  // namespace detail

VarType Variant::type() const {
  static constexpr VarType kByIndex[] = {
      VarType::Empty,  VarType::Null,     VarType::Boolean, VarType::Byte,
      VarType::Integer, VarType::Long,    VarType::Single,  VarType::Double,
      VarType::Currency, VarType::Date,   VarType::String,  VarType::Object,
      VarType::Array,  VarType::ByteArray};
  return kByIndex[v_.index()];
}

bool Variant::IsNumber() const {
  switch (type()) {
    case VarType::Boolean:
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long:
    case VarType::Single:
    case VarType::Double:
    case VarType::Currency:
      return true;
    default:
      return false;
  }
}

Text Variant::TypeName() const {
  switch (type()) {
    case VarType::Empty: return u"Empty";
    case VarType::Null: return u"Null";
    case VarType::Boolean: return u"Boolean";
    case VarType::Byte: return u"Byte";
    case VarType::Integer: return u"Integer";
    case VarType::Long: return u"Long";
    case VarType::Single: return u"Single";
    case VarType::Double: return u"Double";
    case VarType::Currency: return u"Currency";
    case VarType::Date: return u"Date";
    case VarType::String: return u"String";
    case VarType::Object: return object() ? object()->ClassName() : Text(u"Nothing");
    case VarType::Array: return u"Variant()";
    case VarType::ByteArray: return u"Byte()";
    default: return u"Unknown";
  }
}

bool operator==(const Variant& a, const Variant& b) {
  return a.v_ == b.v_;
}

}  // namespace automation
