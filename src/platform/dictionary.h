// The keyed table object ("Scripting.Dictionary"): keys in insertion order
// with a variant each. Members: Add, Exists, Item (the default member; a
// read of a missing key gives Empty, a write adds it), Key (renames),
// Items, Keys, Remove, RemoveAll, Count and CompareMode (0 binary, 1 text:
// keys compared without case).
//
// Not thread-safe: an object belongs to one request thread.
#pragma once

#include <unordered_map>
#include <vector>

#include "automation/object.h"

namespace platform {

class Dictionary : public automation::Object {
 public:
  automation::Text ClassName() const override { return u"Dictionary"; }
  automation::Variant Invoke(automation::TextView name, automation::InvokeKind kind,
                             std::span<automation::Variant* const> args) override;
  const automation::MemberTable* Members() const override;

  /// Adds a key; error 457 when it is there already.
  void Add(automation::TextView key, automation::Variant value);
  bool Exists(automation::TextView key) const;
  /// The value of a key, or null when absent.
  const automation::Variant* Find(automation::TextView key) const;
  automation::Variant* Find(automation::TextView key);
  /// Sets a key's value, adding the key when absent.
  void Set(automation::TextView key, automation::Variant value);
  void Remove(automation::TextView key);
  void RemoveAll();
  size_t Count() const { return entries_.size(); }
  /// Keys and values in insertion order.
  const std::vector<std::pair<automation::Text, automation::Variant>>& entries() const {
    return entries_;
  }

 private:
  automation::Text Fold(automation::TextView key) const;
  void Reindex();

  std::vector<std::pair<automation::Text, automation::Variant>> entries_;
  std::unordered_map<automation::Text, size_t> index_;
  int compare_mode_ = 0;
};

/// Registers "Scripting.Dictionary".
void RegisterDictionaryClass();

}  // namespace platform
