#include "platform/dictionary.h"

#include "automation/coerce.h"
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

Variant Dictionary::Invoke(TextView name, automation::InvokeKind kind, std::span<Variant* const> args) {
  using automation::EqualsNoCase;
  using automation::InvokeKind;
  auto key = [&](size_t i) -> Text {
    if (i >= args.size()) throw automation::Error(automation::err::kArgNotOptional);
    return automation::CStr(*args[i]);
  };
  if (kind == InvokeKind::PropertyPut) {
    if (args.empty()) throw automation::Error(automation::err::kArgNotOptional);
    const Variant& value = *args.back();
    if (name.empty() || EqualsNoCase(name, u"Item")) {
      Set(key(0), value);
    } else if (EqualsNoCase(name, u"Key")) {
      Text old = key(0), now = key(1);
      Variant* v = Find(old);
      if (!v) throw automation::Error(kElementNotFound, u"Element not found");
      if (Exists(now)) throw automation::Error(kKeyExists);
      for (auto& e : entries_)
        if (Fold(e.first) == Fold(old)) e.first = now;
      Reindex();
    } else if (EqualsNoCase(name, u"CompareMode")) {
      if (!entries_.empty()) automation::ThrowInvalidCall();
      compare_mode_ = automation::CInt(value);
    } else {
      automation::ThrowNoSuchMember(name);
    }
    return Variant();
  }
  if (name.empty() || EqualsNoCase(name, u"Item")) {
    const Variant* v = Find(key(0));
    return v ? *v : Variant();
  }
  if (EqualsNoCase(name, u"Add")) {
    if (args.size() < 2) throw automation::Error(automation::err::kArgNotOptional);
    Add(key(0), *args[1]);
    return Variant();
  }
  if (EqualsNoCase(name, u"Exists")) return Variant(Exists(key(0)));
  if (EqualsNoCase(name, u"Count")) return Variant(static_cast<int32_t>(entries_.size()));
  if (EqualsNoCase(name, u"Remove")) {
    Remove(key(0));
    return Variant();
  }
  if (EqualsNoCase(name, u"RemoveAll")) {
    RemoveAll();
    return Variant();
  }
  if (EqualsNoCase(name, u"CompareMode")) return Variant(static_cast<int32_t>(compare_mode_));
  if (EqualsNoCase(name, u"Keys") || EqualsNoCase(name, u"Items")) {
    bool keys = EqualsNoCase(name, u"Keys");
    automation::Array a;
    for (const auto& [k, v] : entries_) a.items.push_back(keys ? Variant(k) : v);
    return Variant(std::move(a));
  }
  automation::ThrowNoSuchMember(name);
}

void RegisterDictionaryClass() {
  automation::RegisterClass(u"Scripting.Dictionary", [] { return std::make_shared<Dictionary>(); });
}

}  // namespace platform
