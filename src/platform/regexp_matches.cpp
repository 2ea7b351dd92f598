#include "platform/regexp_matches.h"

#include "automation/coerce.h"
#include "automation/member_table.h"

namespace platform {
namespace {

using automation::Error;
using automation::InvokeKind;
namespace err = automation::err;

using automation::kGet;
using automation::MemberTable;

// Item(i) of a 0-based list: 5 outside it, as the collections raise.
size_t Index(const Variant& arg, size_t count) {
  int32_t i = automation::CLng(arg);
  if (i < 0 || static_cast<size_t>(i) >= count) throw Error(err::kInvalidCall);
  return static_cast<size_t>(i);
}

// The two collections: a count, and the items by position (the default).
enum CollectionMember { kCount, kItem };
const MemberTable kCollectionMembers{
    {u"Count", kCount, kGet, 0, 0}, {u"", kItem, kGet, 1, 1}, {u"Item", kItem, kGet, 1, 1}};

class SubMatchesObject : public automation::Object {
 public:
  explicit SubMatchesObject(std::vector<Variant> items) : items_(std::move(items)) {}
  Text ClassName() const override { return u"ISubMatches"; }
  const MemberTable* Members() const override { return &kCollectionMembers; }

  Variant Invoke(TextView name, InvokeKind kind, std::span<Variant* const> args) override {
    if (kCollectionMembers.Resolve(name, kind, args.size()) == kCount) return static_cast<int32_t>(items_.size());
    return items_[Index(*args[0], items_.size())];
  }

 private:
  std::vector<Variant> items_;
};

enum MatchMember { kValue, kFirstIndex, kLength, kSubMatches };
const MemberTable kMatchMembers{
    {u"", kValue, kGet, 0, 0},           {u"Value", kValue, kGet, 0, 0},
    {u"FirstIndex", kFirstIndex, kGet, 0, 0}, {u"Length", kLength, kGet, 0, 0},
    {u"SubMatches", kSubMatches, kGet, 0, 0},
};

class MatchObject : public automation::Object {
 public:
  explicit MatchObject(RegExpMatch m) : m_(std::move(m)) {}
  Text ClassName() const override { return u"IMatch2"; }
  const MemberTable* Members() const override { return &kMatchMembers; }

  Variant Invoke(TextView name, InvokeKind kind, std::span<Variant* const> args) override {
    switch (kMatchMembers.Resolve(name, kind, args.size())) {
      case kValue: return m_.value;
      case kFirstIndex: return m_.first_index;
      case kLength: return m_.length;
      case kSubMatches: return Variant(automation::ObjectPtr(std::make_shared<SubMatchesObject>(m_.submatches)));
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
  const MemberTable* Members() const override { return &kCollectionMembers; }

  Variant Invoke(TextView name, InvokeKind kind, std::span<Variant* const> args) override {
    if (kCollectionMembers.Resolve(name, kind, args.size()) == kCount) return static_cast<int32_t>(items_.size());
    return Variant(items_[Index(*args[0], items_.size())]);
  }

 private:
  std::vector<automation::ObjectPtr> items_;
};

}  // namespace

automation::ObjectPtr MakeMatchCollection(std::vector<RegExpMatch> matches) {
  return std::make_shared<MatchCollectionObject>(std::move(matches));
}

}  // namespace platform
