#include "platform/dictionary.h"

#include "automation/coerce.h"
#include "automation/member_table.h"
#include "automation/registry.h"
#include "automation/runtime.h"

namespace platform {

using automation::Text;
using automation::TextView;
using automation::Variant;

namespace {
constexpr int kKeyExists = 457;
constexpr int kElementNotFound = 32811;
}  // namespace

Text Dictionary::Fold(TextView key) const {
  return compare_mode_ == 0 ? Text(key) : automation::LCase(key);
}

void Dictionary::Reindex() {
  index_.clear();
  for (size_t i = 0; i < entries_.size(); ++i) index_.emplace(Fold(entries_[i].first), i);
}

void Dictionary::Add(TextView key, Variant value) {
  Text k = Fold(key);
  if (index_.count(k))
    throw automation::Error(kKeyExists, u"This key is already associated with an element of this collection");
  index_.emplace(std::move(k), entries_.size());
  entries_.emplace_back(Text(key), std::move(value));
}

bool Dictionary::Exists(TextView key) const { return index_.count(Fold(key)) != 0; }

const Variant* Dictionary::Find(TextView key) const {
  auto it = index_.find(Fold(key));
  return it == index_.end() ? nullptr : &entries_[it->second].second;
}

Variant* Dictionary::Find(TextView key) {
  auto it = index_.find(Fold(key));
  return it == index_.end() ? nullptr : &entries_[it->second].second;
}

void Dictionary::Set(TextView key, Variant value) {
  if (Variant* v = Find(key))
    *v = std::move(value);
  else
    Add(key, std::move(value));
}

void Dictionary::Remove(TextView key) {
  auto it = index_.find(Fold(key));
  if (it == index_.end()) throw automation::Error(kElementNotFound, u"Element not found");
  entries_.erase(entries_.begin() + static_cast<ptrdiff_t>(it->second));
  Reindex();
}

void Dictionary::RemoveAll() {
  entries_.clear();
  index_.clear();
}

namespace {
enum Member { kItem, kKey, kCompareMode, kAdd, kExists, kCount, kRemove, kRemoveAll, kKeys, kItems };
using automation::kGet;
using automation::kGetPut;
using automation::kMethod;
using automation::kPut;
const automation::MemberTable kMembers{
    {u"", kItem, kGetPut, 1, 1},           {u"Item", kItem, kGetPut, 1, 1},
    {u"Key", kKey, kPut, 1, 1},            {u"CompareMode", kCompareMode, kGetPut, 0, 0},
    {u"Add", kAdd, kMethod},               {u"Exists", kExists, kMethod},
    {u"Count", kCount, kGet, 0, 0},        {u"Remove", kRemove, kMethod},
    {u"RemoveAll", kRemoveAll, kMethod},   {u"Keys", kKeys, kMethod},
    {u"Items", kItems, kMethod},
};
}  // namespace

const automation::MemberTable* Dictionary::Members() const { return &kMembers; }

Variant Dictionary::Invoke(TextView name, automation::InvokeKind kind, std::span<Variant* const> args) {
  auto key = [&](size_t i) -> Text {
    if (i >= args.size()) throw automation::Error(automation::err::kArgNotOptional);
    return automation::CStr(*args[i]);
  };
  const automation::MemberDef* def = kMembers.Find(name);
  if (!def) automation::ThrowNoSuchMember(name);
  if (kind == automation::InvokeKind::PropertyPut) {
    if (!(def->use & kPut)) automation::ThrowNoSuchMember(name);
    if (args.empty()) throw automation::Error(automation::err::kArgNotOptional);
    const Variant& value = *args.back();
    switch (def->id) {
      case kItem:
        Set(key(0), value);
        break;
      case kKey: {
        Text old = key(0), now = key(1);
        Variant* v = Find(old);
        if (!v) throw automation::Error(kElementNotFound, u"Element not found");
        if (Exists(now)) throw automation::Error(kKeyExists);
        for (auto& e : entries_)
          if (Fold(e.first) == Fold(old)) e.first = now;
        Reindex();
        break;
      }
      case kCompareMode:
        if (!entries_.empty()) automation::ThrowInvalidCall();
        compare_mode_ = automation::CInt(value);
        break;
    }
    return Variant();
  }
  switch (def->id) {
    case kItem: {
      const Variant* v = Find(key(0));
      return v ? *v : Variant();
    }
    case kAdd:
      if (args.size() < 2) throw automation::Error(automation::err::kArgNotOptional);
      Add(key(0), *args[1]);
      return Variant();
    case kExists:
      return Variant(Exists(key(0)));
    case kCount:
      return Variant(static_cast<int32_t>(entries_.size()));
    case kRemove:
      Remove(key(0));
      return Variant();
    case kRemoveAll:
      RemoveAll();
      return Variant();
    case kCompareMode:
      return Variant(static_cast<int32_t>(compare_mode_));
    case kKeys:
    case kItems: {
      automation::Array a;
      for (const auto& [k, v] : entries_) a.items.push_back(def->id == kKeys ? Variant(k) : v);
      return Variant(std::move(a));
    }
  }
  automation::ThrowNoSuchMember(name);
}

void RegisterDictionaryClass() {
  automation::RegisterClass(u"Scripting.Dictionary", [] { return std::make_shared<Dictionary>(); });
}

}  // namespace platform
