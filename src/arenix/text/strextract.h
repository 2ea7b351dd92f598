// The text between two delimiters.
#pragma once

#include <cstdint>

#include "automation/text.h"

namespace arenix::text {

using automation::Text;
using automation::TextView;

/// Flags of StrExtract, combined with "|".
enum StrExtractFlag : int16_t {
  kExtractIgnoreCase = 1,    // delimiters found without regard to case
  kExtractToEnd = 2,         // no end delimiter needed: take the rest
  kExtractWithBegin = 4,     // the begin delimiter is part of the result
};

/// The text after the first `begin` found at or after position `start`
/// (1-based; below 1 counts as 1), up to the next `end`; empty when a
/// delimiter is missing. An empty `begin` starts at the first character; an
/// empty `end` takes the rest. With kExtractIgnoreCase the search ignores
/// case and the result keeps the text's own case.
/// Example: StrExtract(u"[a][b]", u"[", u"]", 2, 0) == u"b".
Text StrExtract(TextView text, TextView begin, TextView end, int16_t start, int16_t flags);

}  // namespace arenix::text
