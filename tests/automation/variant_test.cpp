#include <gtest/gtest.h>

#include <type_traits>

#include "automation/variant.h"
#include "test_util.h"

namespace automation {
namespace {

// Variants travel through every call: moving one must never allocate or throw.
static_assert(std::is_nothrow_move_constructible_v<Variant>);
static_assert(std::is_nothrow_move_assignable_v<Variant>);

TEST(Variant, TypesAndTypeNames) {
  struct Case {
    Variant v;
    VarType type;
    const char16_t* name;
  };
  const Case cases[] = {
      {Variant(), VarType::Empty, u"Empty"},
      {Variant::Null(), VarType::Null, u"Null"},
      {Variant(true), VarType::Boolean, u"Boolean"},
      {Variant(uint8_t{1}), VarType::Byte, u"Byte"},
      {Variant(int16_t{1}), VarType::Integer, u"Integer"},
      {Variant(1), VarType::Long, u"Long"},
      {Variant(1.0f), VarType::Single, u"Single"},
      {Variant(1.0), VarType::Double, u"Double"},
      {Variant(Currency{1}), VarType::Currency, u"Currency"},
      {Variant(Date{1}), VarType::Date, u"Date"},
      {Variant(u"x"), VarType::String, u"String"},
      {Variant::Nothing(), VarType::Object, u"Nothing"},
      {Variant(Array{}), VarType::Array, u"Variant()"},
      {Variant(Bytes{1, 2}), VarType::ByteArray, u"Byte()"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.v.type(), c.type) << ToUtf8(c.name);
    EXPECT_EQ(c.v.TypeName(), c.name);
  }
}

TEST(Variant, ArraysCopyByValueAndMovesKeepTheText) {
  Variant a(Array{1, {Variant(1), Variant(u"x")}});
  Variant b = a;
  b.array().items[0] = Variant(2);
  EXPECT_EQ(a.array().items[0], Variant(1));
  EXPECT_EQ(b.array().ubound(), 2);
  EXPECT_FALSE(a == b);

  Text long_text(100, u'x');
  const char16_t* storage = long_text.data();
  Variant moved(std::move(long_text));
  Variant target = std::move(moved);
  EXPECT_EQ(target.text().data(), storage);  // the buffer moved, no copy
}

}  // namespace
}  // namespace automation
