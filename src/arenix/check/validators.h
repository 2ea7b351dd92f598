// Value validators: small tests on single values (Chinese text, numbers,
// telephone numbers, unsafe characters, e-mail addresses), the two that stop
// the page when a record id or range is wrong, the installed-class test,
// the visitor's system and browser, and regular-expression tests.
// None keeps state. "Trim" removes spaces (U+0020) only.
#pragma once

#include <cstdint>

#include "automation/variant.h"
#include "host/host.h"

namespace arenix::check {

using automation::Text;
using automation::TextView;
using automation::Variant;

inline constexpr char16_t kInvalidIdMessage[] = u"无效ID。";

/// The numeric rule without trimming: an optional sign, digits with ","
/// thousands separators, an optional "." fraction and an optional exponent,
/// with blanks around. "&H"/"&O" literals and currency signs do not count.
bool IsNumericText(TextView s);

/// Trimmed, not empty, and every character a two-byte GBK character.
bool IsChinese(TextView s);
/// Trimmed, not empty, and only the digits 0-9.
bool IsInteger(TextView s);
/// Trimmed, not empty, and numeric (IsNumericText).
bool IsNumeric(TextView s);
/// Trimmed, longer than six characters, and only digits and "-".
bool IsTelephone(TextView s);
/// The first character of the trimmed text that is unsafe in names and SQL,
/// or empty text.
Text FirstUnsafeCharacter(TextView s);
/// A plain address: local part "@" domain of the letters, digits, "_", "-"
/// and "." (no leading, trailing or doubled "."), with a 2- or 3-character
/// ending after the domain's last ".".
bool IsEmail(TextView s);

/// The whole number at or below the leading decimal number of a numeric
/// text (6 when outside the 16-bit range). Otherwise writes the error page
/// "无效ID。" to `response` and returns 0.
int16_t CheckIsID(Variant& response, TextView s, bool close_parent, TextView dialog_id);
/// CheckIsID, then the error page with the allowed range when the value is
/// below `min` or above `max`; returns the value either way.
int16_t CheckIsRange(Variant& response, TextView s, int16_t min, int16_t max, bool close_parent,
                     TextView dialog_id);
/// The range message: "范围无效。允许范围为" + min + "--" + max.
Text RangeMessage(int16_t min, int16_t max);

/// True when an object of the programmatic name can be created; every
/// failure counts as "not installed".
bool IsObjInstalled(TextView prog_id);

/// The visitor's operating system from the user-agent server variable.
Text NetUserSystem(const host::Request& request);
/// "IE" or "其它".
Text NetUserBrowser(const host::Request& request);

/// Tests `s` against `pattern` ignoring case (global); 5017 for a bad pattern.
Variant CheckReg(const Variant& pattern, TextView s);
/// True when the text is empty or all spaces.
Variant CheckIsEmpty(TextView s);

}  // namespace arenix::check
