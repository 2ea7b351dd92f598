#include "arenix/check/validators.h"

#include <gtest/gtest.h>

#include "arenix/frame/arenix_cls.h"
#include "automation/registry.h"
#include "page.h"

namespace arenix::check {
namespace {

using automation::Error;
using testing::Page;

struct BoolCase {
  const char16_t* text;
  bool expected;
};

void ExpectAll(bool (*test)(TextView), std::initializer_list<BoolCase> cases, const char* name) {
  for (const auto& c : cases)
    EXPECT_EQ(test(c.text), c.expected) << name << "(\"" << automation::ToUtf8(c.text) << "\")";
}

TEST(Validators, CharacterClasses) {
  ExpectAll(IsChinese,
            {{u"中文", true}, {u" 中文 ", true}, {u"中a", false}, {u"", false}, {u"  ", false},
             {u"中，文", true},       // full-width punctuation is two bytes in GBK
             {u"中\uac00", false},    // Hangul has no GBK code
             {u"\u20ac", false},      // the euro sign is one byte (0x80)
             {u"\U0001F600", false}}, // no GBK code
            "IsChinese");
  ExpectAll(IsInteger,
            {{u" 123 ", true}, {u"007", true}, {u"-5", false}, {u"1.0", false}, {u"1 2", false},
             {u"", false}, {u"１２", false}},
            "IsInteger");
  ExpectAll(IsNumeric,
            {{u"12", true}, {u" -1.5 ", true}, {u"+3", true}, {u"1,234.5", true}, {u"1e3", true},
             {u".5", true}, {u"2.", true}, {u"1E+308", true}, {u"1e999", false}, {u"", false},
             {u"   ", false}, {u"abc", false}, {u"12a", false}, {u"&H10", false},
             {u"1 2", false}, {u"--1", false}, {u",1", false}},
            "IsNumeric");
  ExpectAll(IsTelephone,
            {{u"123456", false}, {u"1234567", true}, {u"010-6512", true}, {u" 010-65123456 ", true},
             {u"(010)6512345", false}, {u"010 6512345", false}, {u"", false}},
            "IsTelephone");
}

TEST(Validators, FirstUnsafeCharacter) {
  struct Case {
    const char16_t* text;
    const char16_t* expected;
  };
  const Case cases[] = {
      {u"ab c", u" "},       {u" abc ", u""},        {u"it's \"x\"", u"'"},
      {u"a\"b'c", u"\""},    {u"a\tb", u"\t"},       {u"张三", u""},
      {u"a\\b", u"\\"},      {u"x*y", u"*"},         {u"1+1", u"+"},
      {u"", u""},            {u"a|b", u"|"},         {u"mail@x", u""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FirstUnsafeCharacter(c.text), c.expected) << automation::ToUtf8(c.text);
}

TEST(Validators, Email) {
  ExpectAll(IsEmail,
            {{u"a@b.cn", true}, {u"a@b.info", false}, {u"a@b.c", false}, {u"a@@b.cn", false},
             {u"a.@b.cn", false}, {u".a@b.cn", false}, {u"a@b..cn", false},
             {u"a..b@c.cn", false}, {u"Li_Ming-2@Mail.Example.COM", true}, {u"a@bcn", false},
             {u"a@b.cn.", false}, {u"@b.cn", false}, {u"a@", false}, {u"a b@c.cn", false},
             {u"张@b.cn", false}, {u" a@b.cn", false}, {u"", false}},
            "IsEmail");
}

TEST(CheckIsID, WholeNumberBelowTheLeadingNumber) {
  struct Case {
    const char16_t* text;
    int16_t expected;
  };
  const Case cases[] = {
      {u"12.7", 12}, {u"-1.5", -2}, {u" 7 ", 7},    {u"1,234", 1},
      {u"1e3", 1000}, {u"32767.9", 32767}, {u"-32768", -32768}, {u"0", 0},
  };
  for (const auto& c : cases) {
    Page page;
    Variant s(Text(c.text));
    ArenixCls cls;
    Variant* args[] = {&page.Response, &s};
    EXPECT_EQ(CallMethod(cls, u"CommCheckIsID", args), Variant(c.expected))
        << automation::ToUtf8(c.text);
    page.ExpectAccepted();
  }
}

TEST(CheckIsID, NonNumericTextStopsThePage) {
  for (const char16_t* bad : {u"abc", u"", u"12a", u"&H10"}) {
    Page page;
    EXPECT_EQ(CheckIsID(page.Response, bad, false, u""), 0);
    page.ExpectRefused(kInvalidIdMessage);
  }
  Page page;
  EXPECT_EQ(CheckIsID(page.Response, u"x", true, u"dlg"), 0);
  page.ExpectRefused(kInvalidIdMessage, true, u"dlg");
}

TEST(CheckIsID, OutsideTheSixteenBitRangeIsAnOverflow) {
  for (const char16_t* big : {u"32768", u"-32768.5", u"1e10"}) {
    Page page;
    try {
      CheckIsID(page.Response, big, false, u"");
      ADD_FAILURE() << automation::ToUtf8(big);
    } catch (const Error& e) {
      EXPECT_EQ(e.number(), automation::err::kOverflow);
    }
  }
}

TEST(CheckIsRange, RefusesValuesOutsideTheRange) {
  EXPECT_EQ(RangeMessage(1, 3), u"范围无效。允许范围为1--3");
  EXPECT_EQ(RangeMessage(-5, 100), u"范围无效。允许范围为-5--100");

  ArenixCls cls;
  Page out;
  Variant five(Text(u"5")), one(int16_t(1)), three(int16_t(3));
  Variant* args[] = {&out.Response, &five, &one, &three};
  EXPECT_EQ(CallMethod(cls, u"CommCheckIsRange", args), Variant(int16_t(5)));
  out.ExpectRefused(RangeMessage(1, 3));

  for (const char16_t* inside : {u"1", u"2.9", u"3"}) {
    Page page;
    EXPECT_GE(CheckIsRange(page.Response, inside, 1, 3, false, u""), 1);
    page.ExpectAccepted();
  }

  // A text that is not a number shows the invalid-id page; the range page
  // written after it no longer reaches the client.
  Page bad;
  EXPECT_EQ(CheckIsRange(bad.Response, u"abc", 1, 3, false, u""), 0);
  bad.ExpectRefused(kInvalidIdMessage);
}

class BrokenObject : public automation::Object {
 public:
  Text ClassName() const override { return u"Broken"; }
};

TEST(IsObjInstalled, TrueOnlyWhenTheObjectCanBeCreated) {
  RegisterClasses();
  automation::RegisterClass(u"Test.Throws", []() -> automation::ObjectPtr {
    throw Error(automation::err::kCannotCreate);
  });
  automation::RegisterClass(u"Test.Nothing", [] { return automation::ObjectPtr(); });
  automation::RegisterClass(u"Test.Works", [] { return std::make_shared<BrokenObject>(); });
  EXPECT_TRUE(IsObjInstalled(u"VBScript.RegExp"));
  EXPECT_TRUE(IsObjInstalled(u"vbscript.regexp"));
  EXPECT_TRUE(IsObjInstalled(u"Test.Works"));
  EXPECT_FALSE(IsObjInstalled(u"Test.Throws"));
  EXPECT_FALSE(IsObjInstalled(u"Test.Nothing"));
  EXPECT_FALSE(IsObjInstalled(u"Microsoft.NoSuchThing"));
  EXPECT_FALSE(IsObjInstalled(u""));
}

TEST(NetUser, SystemAndBrowserFromTheUserAgent) {
  struct Case {
    const char16_t* agent;
    const char16_t* system;
    const char16_t* browser;
  };
  const Case cases[] = {
      {u"Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1)", u"Win XP", u"IE"},
      {u"Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.2)", u"Win 2003", u"IE"},
      {u"Mozilla/4.0 (compatible; MSIE 5.5; Windows NT 5.0)", u"Win 2000", u"IE"},
      {u"Mozilla/5.0 (Windows NT 6.1; Win64; x64) Chrome/120.0", u"Win Nt", u"其它"},
      {u"Mozilla/4.0 (compatible; MSIE 5.0; Windows 98)", u"Win 9x", u"IE"},
      {u"Mozilla/5.0 (X11; Linux x86_64; rv:120.0) Firefox/120.0", u"类Unix", u"其它"},
      {u"Mozilla/5.0 (X11; FreeBSD amd64)", u"类Unix", u"其它"},
      {u"Mozilla/5.0 (Macintosh; Intel Mac OS X 14_1) Safari/605.1", u"Mac", u"其它"},
      {u"curl/8.0", u"其它", u"其它"},
      {u"", u"其它", u"其它"},
  };
  for (const auto& c : cases) {
    Page page;
    if (*c.agent) page.request->SetServerVariable(u"HTTP_USER_AGENT", c.agent);
    EXPECT_EQ(NetUserSystem(*page.request), c.system) << automation::ToUtf8(c.agent);
    EXPECT_EQ(NetUserBrowser(*page.request), c.browser) << automation::ToUtf8(c.agent);
  }
}

TEST(CheckReg, TestsIgnoringCase) {
  ArenixCls cls;
  Variant pattern(Text(u"^[a-z]+\\d*$")), text(Text(u"ABC12"));
  Variant* args[] = {&pattern, &text};
  EXPECT_EQ(CallMethod(cls, u"CommCheckReg", args), Variant(true));
  EXPECT_EQ(CheckReg(Variant(Text(u"^[\\u4e00-\\u9fa5]{2,4}$")), u"张三"), Variant(true));
  EXPECT_EQ(CheckReg(Variant(Text(u"^\\d+$")), u"12 "), Variant(false));
  EXPECT_EQ(pattern, Variant(Text(u"^[a-z]+\\d*$")));  // the by-reference pattern is left alone
  try {
    CheckReg(Variant(Text(u"([a-z")), u"abc");
    ADD_FAILURE() << "bad pattern accepted";
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), automation::err::kRegExpSyntax);
  }
}

TEST(CheckIsEmpty, EmptyOrAllSpaces) {
  EXPECT_EQ(CheckIsEmpty(u"   "), Variant(true));
  EXPECT_EQ(CheckIsEmpty(u""), Variant(true));
  EXPECT_EQ(CheckIsEmpty(u" a "), Variant(false));
  EXPECT_EQ(CheckIsEmpty(u"\t"), Variant(false));  // only spaces are trimmed
}

}  // namespace
}  // namespace arenix::check
