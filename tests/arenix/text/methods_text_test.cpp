// The text module's public methods as pages call them: by name, with the
// catalogue's defaults and by-reference arguments.
#include <gtest/gtest.h>

#include "arenix/frame/arenix_cls.h"
#include "automation/clock.h"
#include "automation/datetime.h"
#include "automation/error.h"

namespace arenix {
namespace {

Variant Call(ArenixCls& cls, TextView name, std::vector<Variant> args) {
  std::vector<Variant*> ptrs;
  for (Variant& a : args) ptrs.push_back(&a);
  return CallMethod(cls, name, ptrs);
}

TEST(TextMethods, ByNameWithDefaults) {
  automation::ScopedClock clock(automation::MakeDate(2024, 3, 5, 8, 7, 6), 7);
  ArenixCls cls;
  struct Case {
    const char16_t* name;
    std::vector<Variant> args;
    Variant expected;
  } cases[] = {
      {u"CommGetStringLength", {Variant(u"中国abc")}, Variant(int16_t{7})},
      {u"CommReplaceAt", {Variant(u"a|b|c"), Variant(int16_t{1}), Variant(u"x")}, Variant(u"a|x|c")},
      {u"CommReplaceAt", {Variant(u"a,b"), Variant(u"0"), Variant(u"x"), Variant(u",")}, Variant(u"x,b")},
      {u"CommStrExtract", {Variant(u"[a][b]"), Variant(u"["), Variant(u"]"), Variant(1.0), Variant(int16_t{4})},
       Variant(u"[a")},
      {u"CommDecToHex", {Variant(255.0)}, Variant(u"FF")},
      {u"CommDecToBin", {Variant(u"5")}, Variant(u"101")},
      {u"CommMax", {Variant(int16_t{3}), Variant(u"4.5")}, Variant(4.5)},
      {u"CommStringToNumeric", {Variant(u"2.5")}, Variant(automation::Currency{25000})},
      {u"CommCodeUnicodeToUtf8", {Variant(u"a\r\nb")}, Variant(u"a<br/>b")},
      {u"CommCodeUnicodeToUtf8", {Variant(u"a\r\nb"), Variant(true), Variant(false)}, Variant(u"a\r\nb")},
      {u"CommCodeUtf8ToUnicode", {Variant(u"abc")}, Variant(u"abc")},
      {u"CommUrlEncode_GBToUtf8", {Variant(u"中")}, Variant(u"%E4%B8%AD")},
      {u"CommMultiByteToBinary", {Variant(u"")}, Variant(u"")},
      {u"CommGetQPyString", {Variant(u"中国")}, Variant(u"zhongguo")},
      {u"CommGetDate", {}, Variant(u"20240305")},
      {u"CommDateVFP2VB", {Variant(u"03/05/2024星期二")}, Variant(u"2024-03-05")},
      {u"CommGetFileSize", {Variant(int32_t{1536})}, Variant(u"1.5K")},
      {u"CommReplaceExp", {Variant(u"aXbx"), Variant(u"x"), Variant(u"-")}, Variant(u"a-b-")},
  };
  for (auto& k : cases) {
    SCOPED_TRACE(automation::ToUtf8(k.name));
    EXPECT_EQ(Call(cls, k.name, k.args), k.expected);
  }
  Variant name = Call(cls, u"CommFileGetRndName", {});
  EXPECT_EQ(name.text().size(), 20u);
}

TEST(TextMethods, ByReferenceArgumentsStayAsTheyWere) {
  ArenixCls cls;
  Variant s(u"a&gt;bc"), start(int32_t{1}), length(u"2");
  EXPECT_EQ(cls.CommGetString(s, start, length), u"a>");
  EXPECT_EQ(s, Variant(u"a&gt;bc"));
  EXPECT_EQ(start, Variant(int32_t{1}));
  EXPECT_EQ(length, Variant(u"2"));
  Variant bytes(automation::Bytes{1, 2, 255});
  EXPECT_EQ(cls.CommJoin(bytes, u","), u"1,2,255");
  EXPECT_EQ(bytes, Variant(automation::Bytes{1, 2, 255}));
}

TEST(TextMethods, FailuresCarryTheirNumbers) {
  ArenixCls cls;
  struct Case {
    const char16_t* name;
    std::vector<Variant> args;
    int number;
  } cases[] = {
      {u"CommUrlDecode_GBToUtf8", {Variant(u"%G1")}, automation::err::kTypeMismatch},
      {u"CommGetPyChar", {Variant(u"")}, automation::err::kInvalidCall},
      {u"CommDateVB2VFP", {Variant(u"not a date")}, automation::err::kTypeMismatch},
      {u"CommGetFileSize", {Variant(u"big")}, automation::err::kTypeMismatch},
      {u"CommFileGetRndName", {Variant(int16_t{-1})}, automation::err::kInvalidCall},
      {u"CommGetStringLength2", {Variant(automation::Text(20000, u'中'))}, automation::err::kOverflow},
      {u"CommDecToBin", {Variant(3e9)}, automation::err::kOverflow},
      {u"CommGetIp", {Variant(u"")}, automation::err::kObjectRequired},
      {u"CommReplaceExp", {Variant(u"a"), Variant(u"("), Variant(u"")}, automation::err::kRegExpSyntax},
  };
  for (auto& k : cases) {
    SCOPED_TRACE(automation::ToUtf8(k.name));
    try {
      Call(cls, k.name, k.args);
      ADD_FAILURE() << "no error";
    } catch (const automation::Error& e) {
      EXPECT_EQ(e.number(), k.number);
    }
  }
  // The one measure that never fails.
  EXPECT_EQ(Call(cls, u"CommGetStringLength", {Variant(automation::Text(40000, u'中'))}),
            Variant(int16_t{32767}));
}

}  // namespace
}  // namespace arenix
