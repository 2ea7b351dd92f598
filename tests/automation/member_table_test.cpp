// Member tables: lookup without ASCII case, the use a call may make of a
// member, argument counts, and which members read as values.
#include <gtest/gtest.h>

#include "automation/dispatch.h"
#include "automation/member_table.h"
#include "test_util.h"

namespace automation {
namespace {

enum { kItem, kCount, kAdd, kMode, kName };
const MemberTable kTable{
    {u"", kItem, kGetPut, 1, 1},      {u"Item", kItem, kGetPut, 1, 1}, {u"Count", kCount, kGet, 0, 0},
    {u"Add", kAdd, kMethod, 1, 2},    {u"Mode", kMode, kPut, 0, 0},    {u"Name", kName, kGetPut, 0, 0},
};

int ErrorOf(TextView name, InvokeKind kind, size_t args) {
  try {
    kTable.Resolve(name, kind, args);
    return 0;
  } catch (const Error& e) {
    return e.number();
  }
}

TEST(MemberTable, ResolvesByNameUseAndArgumentCount) {
  using K = InvokeKind;
  const struct {
    const char16_t* name;
    K kind;
    size_t args;
    int error;  // 0: found
  } cases[] = {
      {u"count", K::PropertyGet, 0, 0},   {u"COUNT", K::Method, 0, 0},     // case and get/call alike
      {u"Count", K::PropertyPut, 1, 438}, {u"Count", K::PropertyGet, 1, 450},
      {u"", K::PropertyGet, 1, 0},        {u"", K::PropertyGet, 0, 449},   // the default member
      {u"Item", K::PropertyPut, 2, 0},    {u"Item", K::PropertyPut, 1, 449},  // key and value
      {u"Add", K::Method, 1, 0},          {u"Add", K::Method, 2, 0},
      {u"Add", K::Method, 0, 449},        {u"Add", K::Method, 3, 450},
      {u"Add", K::PropertyPut, 2, 438},   {u"Mode", K::PropertyGet, 0, 438},
      {u"Mode", K::PropertyPut, 1, 0},    {u"Mode", K::PropertyPut, 0, 449},  // a put without its value
      {u"Missing", K::Method, 0, 438},    {u"Coun", K::Method, 0, 438},    {u"Counts", K::Method, 0, 438},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ErrorOf(c.name, c.kind, c.args), c.error) << ToUtf8(c.name) << " " << static_cast<int>(c.kind);
  EXPECT_EQ(kTable.Resolve(u"iTeM", InvokeKind::PropertyGet, 1), kItem);
}

TEST(MemberTable, TheErrorNamesTheMemberAsTheCallerWroteIt) {
  try {
    kTable.Resolve(u"NoSuchThing", InvokeKind::Method, 0);
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), 438);
    EXPECT_NE(std::string(e.what()).find("'NoSuchThing'"), std::string::npos) << e.what();
  }
}

TEST(MemberTable, OnlyArgumentlessGetsThatAreNoMethodsReadAsValues) {
  EXPECT_TRUE(IsPropertyUse(*kTable.Find(u"count")));
  EXPECT_TRUE(IsPropertyUse(*kTable.Find(u"Name")));    // read and written
  EXPECT_FALSE(IsPropertyUse(*kTable.Find(u"Item")));   // needs a key
  EXPECT_FALSE(IsPropertyUse(*kTable.Find(u"Add")));
  EXPECT_FALSE(IsPropertyUse(*kTable.Find(u"Mode")));   // written only
  const MemberTable optional_key{{u"QueryString", 0, kGet, 0, 1}};
  EXPECT_FALSE(IsPropertyUse(*optional_key.Find(u"querystring")));  // called with a key as often as not
  EXPECT_EQ(kTable.Find(u"nothing"), nullptr);
}

TEST(MemberTable, DeclaredMethodsBecomeMethodsWithTheirRequiredAndOptionalCounts) {
  const std::vector<MethodEntry> methods = {
      {{u"Two", ParamType::Text,
        {ParamDecl{u"a", ParamType::Text, false, false, {}}, ParamDecl{u"b", ParamType::Text, false, true, Variant(1)}}},
       nullptr},
      {{u"None", ParamType::None, {}}, nullptr},
  };
  const MemberTable table{std::span<const MethodEntry>(methods)};
  const MemberDef* two = table.Find(u"TWO");
  ASSERT_NE(two, nullptr);
  EXPECT_EQ(two->id, 0);
  EXPECT_EQ(two->use, kMethod);
  EXPECT_EQ(two->min_args, 1);
  EXPECT_EQ(two->max_args, 2);
  EXPECT_EQ(table.Resolve(u"none", InvokeKind::Method, 0), 1);
  EXPECT_FALSE(IsPropertyUse(*table.Find(u"None")));  // a method stays a call
}

}  // namespace
}  // namespace automation
