// Resident identity numbers: the check at a strictness level with an age
// limit and a birth-date window (registration uses it), and the birth date
// and sex read out of an 18-character number.
//
// Layout: 18 characters = region (1-6), birth date yyyymmdd (7-14),
// sequence (15-17, the 17th odd for men), check character (18, a digit or
// "X"); 15 characters = region, yymmdd of the 1900s, sequence. The body is
// the first 17 characters, or for 15 characters the region + "19" + the
// rest. The check character is GB 11643's (ISO 7064 MOD 11-2).
//
// Today is automation::Now()'s date.
#pragma once

#include <cstdint>

#include "automation/text.h"

namespace arenix::check {

using automation::Text;
using automation::TextView;

/// The check character of a 17-digit body: "1", "0", "X", "9" ... "2".
/// REQUIRES: body holds 17 ASCII digits.
char16_t PostcardCheckCharacter(TextView body);

/// Empty text when the number passes the checks of `level`, else the first
/// failing check's message. Levels: 1 or less nothing; 2 length and digits;
/// 3 also the birth date, `age_range` (> 0: most years since the birth year)
/// and the birth-date window; 4 also the check character of 18-character
/// numbers. A bound of 8 characters (yyyymmdd) raises the level to 3;
/// bounds of other lengths are ignored. A body that is numeric but holds a
/// sign, point or exponent where a date part is read raises 13.
Text CheckPostCard(TextView number, int16_t level, int16_t age_range, TextView birthday_min,
                   TextView birthday_max);

/// "mm/dd/yyyy" of an 18-character number (trimmed length; positions in the
/// text as passed), or empty text for an implausible date. 13 when the
/// characters read are not digits.
Text BirthdayFromPostcard(TextView number);

/// "男" when character 17 is odd, "女" when even, empty unless the trimmed
/// number has 18 characters. 13 when character 17 is not a digit.
Text SexFromPostcard(TextView number);

}  // namespace arenix::check
