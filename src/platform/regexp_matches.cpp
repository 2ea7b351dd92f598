#include "platform/regexp_matches.h"

#include "automation/coerce.h"

namespace platform {
namespace {

using automation::Error;
using automation::EqualsNoCase;
using automation::InvokeKind;
namespace err = automation::err;

void RequireArgs(std::span<Variant* const> args, size_t n) {
  if (args.size() < n) throw Error(err::kArgNotOptional);
  if (args.size() > n) throw Error(err::kWrongArgCount);
}

// Item(i) of a 0-based list: 5 outside it, as the collections raise.
size_t IndexArg(std::span<Variant* const> args, size_t count) {
  RequireArgs(args, 1);
  int32_t i = automation::CLng(*args[0]);
  if (i < 0 || static_cast<size_t>(i) >= count) throw Error(err::kInvalidCall);
  return static_cast<size_t>(i);
}

class SubMatchesObject : public automation::Object {
 public:
  explicit SubMatchesObject(std::vector<Variant> items) : items_(std::move(items)) {}
  Text ClassName() const override { return u"ISubMatches"; }

  Variant Invoke(TextView name, InvokeKind kind, std::span<Variant* const> args) override {
    if (kind != InvokeKind::PropertyPut) {
      if (EqualsNoCase(name, u"Count")) {
        RequireArgs(args, 0);
        return static_cast<int32_t>(items_.size());
      }
      if (name.empty() || EqualsNoCase(name, u"Item")) return items_[IndexArg(args, items_.size())];
    }
    automation::ThrowNoSuchMember(name);
  }

 private:
  std::vector<Variant> items_;
};

class MatchObject : public automation::Object {
 public:
  explicit MatchObject(RegExpMatch m) : m_(std::move(m)) {}
  Text ClassName() const override { return u"IMatch2"; }

  Variant Invoke(TextView name, InvokeKind kind, std::span<Variant* const> args) override {
    if (kind != InvokeKind::PropertyPut) {
      RequireArgs(args, 0);
      if (name.empty() || EqualsNoCase(name, u"Value")) return m_.value;
      if (EqualsNoCase(name, u"FirstIndex")) return m_.first_index;
      if (EqualsNoCase(name, u"Length")) return m_.length;
      if (EqualsNoCase(name, u"SubMatches"))
        return Variant(automation::ObjectPtr(std::make_shared<SubMatchesObject>(m_.submatches)));
    }
    automation::ThrowNoSuchMember(name);
  }

 private:
  RegExpMatch m_;
};

class MatchCollectionObject : public automation::Object {
 public:
  explicit MatchCollectionObject(std::vector<RegExpMatch> matches) {
    items_.reserve(matches.size());
    for (auto& m : matches) items_.push_back(std::make_shared<MatchObject>(std::move(m)));
  }
  Text ClassName() const override { return u"IMatchCollection2"; }

  Variant Invoke(TextView name, InvokeKind kind, std::span<Variant* const> args) override {
    if (kind != InvokeKind::PropertyPut) {
      if (EqualsNoCase(name, u"Count")) {
        RequireArgs(args, 0);
        return static_cast<int32_t>(items_.size());
      }
      if (name.empty() || EqualsNoCase(name, u"Item"))
        return Variant(items_[IndexArg(args, items_.size())]);
    }
    automation::ThrowNoSuchMember(name);
  }

 private:
  std::vector<automation::ObjectPtr> items_;
};

}  // namespace

automation::ObjectPtr MakeMatchCollection(std::vector<RegExpMatch> matches) {
  return std::make_shared<MatchCollectionObject>(std::move(matches));
}

}  // namespace platform
