// MemberTable: the members of one automation class, declared once as data
// (name, what it can be used as, how many arguments it takes) and looked up
// case-insensitively, as late-bound callers name them. Invoke dispatches on
// the entry's id instead of comparing names; the script bridge asks the same
// table whether a member reads as a value.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <vector>

#include "automation/object.h"

namespace automation {

/// What a member can be used as; a property may be both read and written.
enum MemberUse : uint8_t {
  kMethod = 1,
  kGet = 2,
  kPut = 4,
  kGetPut = kGet | kPut,
};

/// Argument counts: `min_args`..`max_args` (kAnyArgs: no upper bound). For a
/// put the new value is not counted.
inline constexpr int kAnyArgs = -1;

struct MemberDef {
  const char16_t* name;  // "" names the default member
  int id;                // the class's own number for the member
  uint8_t use;           // MemberUse bits
  int min_args = 0;
  int max_args = kAnyArgs;
};

class MemberTable {
 public:
  MemberTable(std::initializer_list<MemberDef> defs);

  /// The member's entry, or null when the class has none by that name.
  const MemberDef* Find(TextView name) const;

  /// Finds the member for a call of `kind` with `args` arguments: 438 naming
  /// it when the class has no such member or not for that use, 450 when the
  /// argument count does not fit. Returns the member's id.
  int Resolve(TextView name, InvokeKind kind, size_t args) const;

  std::span<const MemberDef> defs() const { return defs_; }

 private:
  std::vector<MemberDef> defs_;
  std::vector<std::pair<Text, size_t>> sorted_;  // folded name -> index
};

/// True when the member reads as a value without a call: a property that can
/// be read with no arguments and is not also a method.
bool IsPropertyUse(const MemberDef& def);

}  // namespace automation
