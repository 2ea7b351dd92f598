// Trimming a set of characters from the ends of a text. The set is written
// as the inside of a bracket expression of the automation Like operator:
// single characters, ranges "a-z", and a leading "!" that negates the set;
// matching is case-sensitive.
//
/// Example: TrimChar(u"--ab--", u"-") == u"ab"; LTrimChar(u"0012", u"0") == u"12".
#pragma once

#include <vector>

#include "automation/text.h"

namespace arenix::text {

using automation::Text;
using automation::TextView;

/// A parsed character set. A descending range ("z-a") raises 93 (invalid
/// pattern string); an empty set matches nothing.
class CharSet {
 public:
  explicit CharSet(TextView spec);
  bool Contains(char16_t c) const;

 private:
  struct Range {
    char16_t from, to;
  };
  std::vector<Range> ranges_;
  bool negated_ = false;
};

/// Drops matching characters from the end, then from the start.
Text TrimChar(TextView text, TextView characters);
Text LTrimChar(TextView text, TextView characters);
Text RTrimChar(TextView text, TextView characters);

}  // namespace arenix::text
