// MemberTable: the members of one automation class, declared once as data
// (name, what it can be used as, how many arguments it takes) and looked up
// case-insensitively, as late-bound callers name them. Invoke dispatches on
// the entry's id instead of comparing names; the script bridge asks the same
// table whether a member reads as a value.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>
#include <vector>

#include "automation/object.h"

namespace automation {

struct MethodEntry;

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
  std::u16string_view name;  // "" names the default member
  int id;                    // the class's own number for the member
  uint8_t use;               // MemberUse bits
  int min_args = 0;
  int max_args = kAnyArgs;
};

class MemberTable {
 public:
  MemberTable(std::initializer_list<MemberDef> defs);
  /// The table of a class whose members are all declared methods (the
  /// component's catalogue): each method's id is its index in `methods`.
  explicit MemberTable(std::span<const MethodEntry> methods);

  /// The member's entry, or null when the class has none by that name.
  const MemberDef* Find(TextView name) const;

  /// Finds the member for a call of `kind` with `args` arguments: 438 naming
  /// it when the class has no such member or not for that use, 449 when an
  /// argument (or a put's value) is missing, 450 when there are too many.
  /// Reading a property and calling a method are one use to a late-bound
  /// caller (a script reads `rs.EOF` and calls `rs.MoveNext()` alike).
  /// Returns the member's id.
  int Resolve(TextView name, InvokeKind kind, size_t args) const;

  std::span<const MemberDef> defs() const { return defs_; }

 private:
  void Index();

  std::vector<MemberDef> defs_;
  std::vector<std::pair<Text, size_t>> sorted_;  // folded name -> index
};

/// True when the member reads as a value without a call: a property that is
/// read with no arguments and is not also a method.
bool IsPropertyUse(const MemberDef& def);

}  // namespace automation
