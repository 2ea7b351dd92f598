// By-name calls: argument coercion, defaults, by-reference parameters and
// the errors a late-bound caller sees.
#include <gtest/gtest.h>

#include "arenix/frame/arenix_cls.h"
#include "automation/dispatch.h"
#include "host/memory_host.h"

namespace {

using automation::Error;
using automation::MethodEntry;
using automation::ParamDecl;
using automation::ParamType;
using automation::Ref;
using automation::Text;
using automation::Variant;

// A small class exercising every kind of parameter the catalogue uses.
class Probe : public automation::Object {
 public:
  Text ClassName() const override { return u"Probe"; }
  Text Mixed(Text s, int16_t i, bool b, Variant& byref, Text& text_ref, Ref<int16_t> opt_ref) {
    byref = Variant(s + u"!");
    text_ref += u"+";
    *opt_ref = static_cast<int16_t>(*opt_ref + i);
    return s + (b ? u"T" : u"F");
  }
  void Untouched(Text& text_ref) {}
};

const MethodEntry& MixedEntry() {
  static const MethodEntry e{
      {u"Mixed",
       ParamType::Text,
       {ParamDecl{u"s", ParamType::Text, false, false, {}},
        ParamDecl{u"i", ParamType::Int16, false, false, {}},
        ParamDecl{u"b", ParamType::Boolean, false, true, Variant(false)},
        ParamDecl{u"byref", ParamType::Variant, true, true, Variant(u"")},
        ParamDecl{u"text_ref", ParamType::Text, true, true, Variant(u"")},
        ParamDecl{u"opt_ref", ParamType::Int16, true, true, Variant(int16_t{1})}}},
      automation::MakeThunk<&Probe::Mixed>()};
  return e;
}

Variant Call(std::vector<Variant*> args) {
  Probe p;
  return automation::CallEntry(MixedEntry(), p, args);
}

TEST(DispatchTest, CoercesArgumentsToDeclaredTypes) {
  Variant s(int32_t{42}), i(u" 7 "), b(u"True");
  EXPECT_EQ(Call({&s, &i, &b}), Variant(u"42T"));
}

TEST(DispatchTest, ByReferenceChangesReachTheCaller) {
  Variant s(u"x"), i(int16_t{2}), b(false), byref, text_ref(u"a"), opt_ref(int32_t{5});
  Call({&s, &i, &b, &byref, &text_ref, &opt_ref});
  EXPECT_EQ(byref, Variant(u"x!"));
  EXPECT_EQ(text_ref, Variant(u"a+"));
  EXPECT_EQ(opt_ref, Variant(int16_t{7}));  // written back with the declared type
}

TEST(DispatchTest, UnchangedTypedReferenceKeepsItsValue) {
  static const MethodEntry e{{u"Untouched", ParamType::None,
                              {ParamDecl{u"t", ParamType::Text, true, false, {}}}},
                             automation::MakeThunk<&Probe::Untouched>()};
  Probe p;
  Variant empty;
  Variant* args[] = {&empty};
  automation::CallEntry(e, p, args);
  EXPECT_TRUE(empty.IsEmpty());
}

TEST(DispatchTest, ArgumentErrors) {
  struct Case {
    std::vector<Variant> args;
    int number;
  } cases[] = {
      {{Variant(u"x"), Variant(u"seven")}, automation::err::kTypeMismatch},
      {{Variant(u"x"), Variant(int32_t{40000})}, automation::err::kOverflow},
      {{Variant(u"x"), Variant::Null()}, automation::err::kInvalidNull},
      {{Variant(u"x")}, automation::err::kArgNotOptional},
      {{Variant(u"x"), Variant(int16_t{1}), Variant(true), Variant(), Variant(), Variant(), Variant()},
       automation::err::kWrongArgCount},
  };
  for (auto& c : cases) {
    std::vector<Variant*> ptrs;
    for (auto& a : c.args) ptrs.push_back(&a);
    try {
      Call(ptrs);
      ADD_FAILURE() << "expected error " << c.number;
    } catch (const Error& e) {
      EXPECT_EQ(e.number(), c.number);
    }
  }
}

TEST(DispatchTest, ComponentByName) {
  arenix::ArenixCls component;
  Variant text(u"abc");
  Variant* args[] = {&text};
  EXPECT_EQ(arenix::CallMethod(component, u"commmd5", args),
            Variant(u"900150983CD24FB0D6963F7D28E17F72"));
  try {
    arenix::CallMethod(component, u"CommNoSuchThing", {});
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), 438);
    EXPECT_NE(e.description().find(u"CommNoSuchThing"), Text::npos);
  }
}

TEST(DispatchTest, MethodsNotBuiltYetSayWhich) {
  arenix::ArenixCls component;
  // Find any method still waiting for its subsystem; there may be none left.
  for (const auto& entry : arenix::Catalogue()) {
    std::vector<Variant> values(entry.decl.params.size());
    auto srv = std::make_shared<host::MemoryServer>(u"/nonexistent-site");
    std::vector<Variant*> slots;
    bool callable = true;
    for (size_t i = 0; i < values.size(); ++i) {
      if (entry.decl.params[i].optional) break;
      if (entry.decl.params[i].type != automation::ParamType::Variant) {
        callable = false;
        break;
      }
      slots.push_back(&values[i]);
    }
    if (!callable || !slots.empty()) continue;
    try {
      automation::CallEntry(entry, component, slots);
    } catch (const Error& e) {
      if (e.number() == automation::err::kNotSupported) {
        EXPECT_EQ(e.description(), entry.decl.name + u": not implemented yet");
      }
    }
  }
}

TEST(DispatchTest, CallingWithRequiredArgumentsOnlyUsesTheDefaults) {
  arenix::ArenixCls component;
  auto run = [&](std::vector<Variant> extra) {
    auto response = std::make_shared<host::MemoryResponse>();
    Variant resp{automation::ObjectPtr(response)}, rs(u""), conn(u""), message(u"消息");
    std::vector<Variant*> args = {&resp, &rs, &conn, &message};
    for (auto& e : extra) args.push_back(&e);
    arenix::CallMethod(component, u"CommShowErrorPage", args);
    return response->text();
  };
  EXPECT_EQ(run({}), run({Variant(false)}));
  EXPECT_NE(run({}), run({Variant(true)}));
}

}  // namespace
