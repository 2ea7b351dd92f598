// The regular-expression object ("VBScript.RegExp"): PCRE2 behind the
// members that pages and the component use: Pattern, IgnoreCase, Global,
// Multiline, Test, Replace and Execute, with the script dialect's pattern
// syntax (regexp_dialect.h) and replacement references ($1..$99, $&, $`,
// $', $$).
//
// Texts are searched as 16-bit units (PCRE2's 16-bit library in non-UTF
// mode), so any text, lone surrogates included, can be searched; positions
// and lengths count units. IgnoreCase folds letters by Unicode case.
//
/// Example:
///   RegExp re(u"(\\d+)-(\\d+)");
///   re.SetGlobal(true);
///   re.Replace(u"1-2 3-4", u"$2:$1") == u"2:1 4:3"
//
// Not thread-safe: an object belongs to one request thread.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "automation/object.h"

namespace platform {

using automation::Text;
using automation::TextView;
using automation::Variant;

/// One match, as Execute reports it.
struct RegExpMatch {
  int32_t first_index = 0;  // 0-based, in units
  int32_t length = 0;
  Text value;
  /// Group 1 onwards: the text, or Empty for a group that took no part.
  std::vector<Variant> submatches;
};

class RegExp : public automation::Object {
 public:
  RegExp();
  explicit RegExp(TextView pattern);
  ~RegExp() override;
  RegExp(const RegExp&) = delete;
  RegExp& operator=(const RegExp&) = delete;

  Text ClassName() const override { return u"IRegExp2"; }

  const Text& pattern() const { return pattern_; }
  void SetPattern(TextView pattern);
  bool ignore_case() const { return ignore_case_; }
  void SetIgnoreCase(bool on);
  bool global() const { return global_; }
  void SetGlobal(bool on) { global_ = on; }
  bool multiline() const { return multiline_; }
  void SetMultiline(bool on);

  /// True when the pattern matches somewhere in `source`.
  /// All three raise 5017 with PCRE2's message when the pattern is invalid.
  bool Test(TextView source);
  /// `source` with the first match (every match when Global) replaced.
  Text Replace(TextView source, TextView replacement);
  /// The first match, or every match when Global, in order.
  std::vector<RegExpMatch> Execute(TextView source);

  /// Late-bound members: the four properties (get and put) and the three
  /// methods; Execute returns a match collection object.
  Variant Invoke(TextView name, automation::InvokeKind kind,
                 std::span<Variant* const> args) override;
  const automation::MemberTable* Members() const override;

 private:
  struct Compiled;
  struct Span {
    size_t start, end;
  };

  /// Compiles on first use after Pattern, IgnoreCase or Multiline changed.
  Compiled& compiled();
  /// The next match at or after `from`; false when there is none.
  bool MatchAt(TextView source, size_t from, std::vector<Span>& groups);
  /// Calls `each` for the first match or, when Global, for every match.
  template <class F>
  void ForEachMatch(TextView source, F&& each);

  Text pattern_;
  bool ignore_case_ = false;
  bool global_ = false;
  bool multiline_ = false;
  std::unique_ptr<Compiled> compiled_;
};

/// Registers "VBScript.RegExp".
void RegisterRegExpClass();

}  // namespace platform
