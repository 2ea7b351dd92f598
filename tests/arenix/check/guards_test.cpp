#include "arenix/check/guards.h"

#include <gtest/gtest.h>

#include "arenix/frame/arenix_cls.h"
#include "page.h"

namespace arenix::check {
namespace {

using automation::Error;
using testing::Page;

// Calls a public method by name, as a page does, with the page's variables.
Variant Call(TextView name, std::vector<Variant*> args) {
  ArenixCls cls;
  return CallMethod(cls, name, args);
}

TEST(CheckInject, RefusesQueryValuesHoldingAKeyword) {
  struct Case {
    const char16_t* query;
    bool refused;
  };
  const Case cases[] = {
      {u"", false},
      {u"id=12&page=3", false},
      {u"name=Brand", true},                // "and" once lower-cased
      {u"name=insert", false},              // "insert " needs its space
      {u"name=insert+x", true},
      {u"name=SELECT", true},
      {u"q=50%25", true},                   // "%" decoded by the host
      {u"q=O%27Neil", true},
      {u"q=a*b", true},
      {u"q=%D6%D0%CE%C4", false},           // 中文
      {u"select=1&exec=2", false},          // key names are not looked at
      {u"a=1&b=2&c=Declare", true},         // every key, not only the first
      {u"a=1&a=mid", true},                 // repeated keys are joined
      {u"flag", false},
  };
  for (const auto& c : cases) {
    Page page;
    page.request->SetQueryString(c.query);
    Call(u"CommCheckInject", {&page.Request, &page.Response});
    SCOPED_TRACE(automation::ToUtf8(c.query));
    if (c.refused)
      page.ExpectRefused(kInjectMessage);
    else
      page.ExpectAccepted();
  }
}

TEST(CheckInject, FormsAndCookiesAreNotLookedAtAndTheSwitchTurnsItOff) {
  Page page;
  page.request->SetQueryString(u"id=1");
  page.request->AddForm(u"memo", u"' or 1=1");
  page.request->AddCookie(u"c", u"select");
  CheckInject(page.Request, page.Response, false, u"", 1);
  page.ExpectAccepted();

  Page off;
  off.request->SetQueryString(u"q='");
  CheckInject(off.Request, off.Response, false, u"", 0);
  off.ExpectAccepted();
}

TEST(CheckInject, HandsCloseParentAndDialogToTheErrorPage) {
  Page page;
  page.request->SetQueryString(u"q=count");
  Variant close_parent(true), dialog(Text(u"dlgEdit"));
  Call(u"CommCheckInject", {&page.Request, &page.Response, &close_parent, &dialog});
  page.ExpectRefused(kInjectMessage, true, u"dlgEdit");
}

TEST(CheckPost, AcceptsOnlyReferrersOfThisSchemeHostAndPort) {
  struct Case {
    const char16_t* host;  // the Host header; empty: none, the name and port instead
    bool https;
    const char16_t* referrer;
    bool refused;
  };
  const Case cases[] = {
      {u"meet.example.cn", false, u"http://meet.example.cn/admin/edit.asp?id=3", false},
      {u"meet.example.cn", false, u"http://meet.example.cn", false},
      {u"meet.example.cn", false, u"http://meet.example.cn:80/edit.asp", false},  // the default port written
      {u"meet.example.cn", false, u"http://meet.example.cn?a=1", false},
      {u"meet.example.cn", false, u"http://meet.example.cn#top", false},
      // Another scheme or port is another place.
      {u"meet.example.cn", false, u"https://meet.example.cn/admin/edit.asp?id=3", true},
      {u"meet.example.cn", false, u"http://meet.example.cn:8080/edit.asp", true},
      {u"meet.example.cn", false, u"https://meet.example.cn:8443/x.asp", true},
      {u"meet.example.cn:8080", false, u"http://meet.example.cn:8080/edit.asp", false},
      {u"meet.example.cn:8080", false, u"http://meet.example.cn/edit.asp", true},
      {u"meet.example.cn:8080", false, u"http://meet.example.cn:8081/edit.asp", true},
      {u"meet.example.cn", true, u"https://meet.example.cn/edit.asp", false},
      {u"meet.example.cn", true, u"https://meet.example.cn:443/edit.asp", false},
      {u"meet.example.cn", true, u"http://meet.example.cn/edit.asp", true},
      {u"", false, u"http://meet.example.cn:8080/edit.asp", false},  // SERVER_NAME and SERVER_PORT
      {u"", false, u"http://meet.example.cn/edit.asp", true},
      // Other hosts, however they are dressed.
      {u"meet.example.cn", false, u"http://MEET.example.cn/edit.asp", true},
      {u"meet.example.cn", false, u"http://other.example.org/meet.example.cn", true},
      {u"meet.example.cn", false, u"https://other.example.org/", true},
      {u"meet.example.cn", false, u"", true},
      {u"meet.example.cn", false, u"meet.example.cn", true},
      {u"meet.example.cn", false, u"http://meet.example.cn.evil.org/form.html", true},
      {u"meet.example.cn", false, u"http://meet.example.cnx/", true},
      {u"meet.example.cn", false, u"http://meet.example.cn@evil.org/", true},
      {u"meet.example.cn", false, u"http://evil.org@meet.example.cn/", true},
  };
  for (const auto& c : cases) {
    Page page;
    page.request->SetServerVariable(u"SERVER_NAME", u"meet.example.cn");
    page.request->SetServerVariable(u"SERVER_PORT", u"8080");
    if (*c.host) page.request->SetServerVariable(u"HTTP_HOST", c.host);
    page.request->SetServerVariable(u"HTTPS", c.https ? u"on" : u"off");
    if (*c.referrer) page.request->SetServerVariable(u"HTTP_REFERER", c.referrer);
    Call(u"CommCheckPost", {&page.Request, &page.Response});
    SCOPED_TRACE(automation::ToUtf8(c.referrer) + " to " + automation::ToUtf8(c.host));
    if (c.refused)
      page.ExpectRefused(kPostMessage);
    else
      page.ExpectAccepted();
  }
}

TEST(CheckPost, SwitchedOffAcceptsAnything) {
  Page page;
  page.request->SetServerVariable(u"SERVER_NAME", u"meet.example.cn");
  Variant off(int16_t(0));
  Call(u"CommCheckPost", {&page.Request, &page.Response, &off});
  page.ExpectAccepted();

  Page refused;
  refused.request->SetServerVariable(u"SERVER_NAME", u"meet.example.cn");
  Variant on(int16_t(1)), close_parent(true);
  Call(u"CommCheckPost", {&refused.Request, &refused.Response, &on, &close_parent});
  refused.ExpectRefused(kPostMessage, true);
}

TEST(CheckSession, RefusesAnEmptySessionValue) {
  Page empty;
  Variant none(Text(u""));
  Call(u"CommCheckSession", {&empty.Response, &none});
  empty.ExpectRefused(kSessionMessage);

  Page logged_in;
  Variant user(Text(u"admin"));
  Call(u"CommCheckSession", {&logged_in.Response, &user});
  logged_in.ExpectAccepted();
  EXPECT_EQ(user, Variant(Text(u"admin")));
}

TEST(CheckAllow, RefusesUnlessTheStateIsOne) {
  for (int16_t state : {0, 2, -1}) {
    Page page;
    Variant rs(Text(u"")), conn(Text(u""));
    CheckAllow(page.Response, rs, conn, state, false, u"");
    page.ExpectRefused(kAllowMessage);
  }
  Page page;
  Variant rs(Text(u"")), conn(Text(u"")), state(int16_t(1));
  Call(u"CommCheckAllow", {&page.Response, &rs, &conn, &state});
  page.ExpectAccepted();
}

TEST(CheckInput, RefusesTheFirstFieldHoldingItsRefusedValue) {
  struct Case {
    const char16_t* list;
    const char16_t* refused_with;  // null: accepted
  };
  const Case cases[] = {
      {u"", nullptr},
      {u"name|姓名|", u"请姓名！"},                // absent
      {u"blank|姓名|", u"请姓名！"},               // all spaces, trimmed
      {u"team|代表队|", nullptr},
      {u"sex|性别|请选择", u"请性别！"},
      {u"team|代表队|$name|姓名|$blank|备注|", u"请姓名！"},  // stops at the first
      {u"name|姓名|$sex|性别|请选择", u"请姓名！"},
      {u"team|代表队|x|extra", nullptr},          // fields past the third are ignored
  };
  for (const auto& c : cases) {
    Page page;
    page.request->AddForm(u"team", u"一中");
    page.request->AddForm(u"blank", u"   ");
    page.request->SetQueryString(u"sex=%C7%EB%D1%A1%D4%F1");  // 请选择
    CheckInput(page.Request, page.Response, c.list, false, u"");
    SCOPED_TRACE(automation::ToUtf8(c.list));
    if (c.refused_with)
      page.ExpectRefused(c.refused_with);
    else
      page.ExpectAccepted();
  }
}

TEST(CheckInput, AnItemOfFewerThanThreeFieldsIsAnIndexError) {
  Page page;
  page.request->AddForm(u"team", u"一中");
  try {
    CheckInput(page.Request, page.Response, u"team|代表队|$name|姓名", false, u"");
    ADD_FAILURE() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), automation::err::kSubscript);
  }
  // An earlier refusal stops before the short item is read.
  Page refused;
  CheckInput(refused.Request, refused.Response, u"team|代表队|$name", false, u"");
  refused.ExpectRefused(u"请代表队！");
}

TEST(CheckEditReadState, ReadTheRequestAndTheMode) {
  struct EditCase {
    const char16_t* query;
    bool edit;
  };
  const EditCase edits[] = {
      {u"ID=12", true},   {u"id=12", true},   {u"ID=12a", false}, {u"", false},
      {u"ID=", false},    {u"ID=-3.5", true}, {u"ID=1%2C000", true}, {u"ID=%26H10", false},
      {u"ID=+", false},
  };
  for (const auto& c : edits) {
    Page page;
    page.request->SetQueryString(c.query);
    EXPECT_EQ(Call(u"CommCheckEdit", {&page.Request}), Variant(c.edit))
        << automation::ToUtf8(c.query);
  }

  Page read;
  EXPECT_EQ(Call(u"CommCheckRead", {&read.Request}), Variant(true));
  read.request->AddForm(u"action", u"save");
  EXPECT_EQ(Call(u"CommCheckRead", {&read.Request}), Variant(false));

  struct StateCase {
    const char16_t* moden;
    Variant id;
    int16_t state;
  };
  const StateCase states[] = {
      {u" Modify ", Variant(int16_t(5)), 2},
      {u"EDIT", Variant(Text(u"7")), 2},
      {u"edit", Variant(Text(u" ")), 1},
      {u"modify", Variant(), 1},
      {u"modify", Variant::Null(), 1},
      {u"view", Variant(int16_t(5)), 3},
      {u"", Variant(Text(u"12")), 3},
  };
  for (const auto& c : states)
    EXPECT_EQ(CheckState(c.moden, c.id), c.state) << automation::ToUtf8(c.moden);
}

TEST(CheckIsNoRecord, NeedsARecordSet) {
  Page page;
  Variant rs(Text(u"")), conn(Text(u""));
  try {
    CheckIsNoRecord(page.Response, rs, conn, u"", false, u"");
    ADD_FAILURE() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), automation::err::kObjectRequired);
  }
  page.ExpectAccepted();
}

}  // namespace
}  // namespace arenix::check
