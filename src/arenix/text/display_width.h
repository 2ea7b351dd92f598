// Measuring and cutting text by display width: a character that code page
// 936 writes in two bytes takes two columns, any other one column.
//
// Three tests of a character's GBK code value decide the width; they agree
// for every character except NUL, and each public method keeps the test it
// has always used (see WidthTest). Sums are 16-bit: a sum that leaves the
// 16-bit range raises overflow (6), except in GetStringLength (which stops
// at 32767) and GetString (whose walk ends with the text).
#pragma once

#include <cstdint>

#include "automation/text.h"
#include "automation/variant.h"

namespace arenix::text {

using automation::Text;
using automation::TextView;
using automation::Variant;

enum class WidthTest {
  kUnsigned,  // the code read unsigned is above 255 (NUL: 1 column)
  kSign,      // the signed code value is zero or negative (NUL: 2 columns)
  kAbsolute,  // the absolute code value is above 255 (NUL: 1 column)
};

/// Columns of one character under a test: 1 or 2.
int CharWidth(char16_t c, WidthTest test);

/// Display width by the unsigned test. Never fails: a width beyond the
/// 16-bit range gives 32767.
int16_t GetStringLength(TextView s);

/// Display width of the text without its leading and trailing spaces, by
/// the sign test.
int16_t GetStringLength2(TextView s);

/// Shortest prefix (suffix) whose width, by the sign test, reaches `limit`;
/// the first (last) character is always taken; the whole text when it is
/// narrower. Example: GetStringLeft(u"中国", 3) == u"中国".
Text GetStringLeft(TextView s, int16_t limit);
Text GetStringRight(TextView s, int16_t limit);

/// Turns "&nbsp;", "&quot;", "&gt;" and "&lt;" into their characters, in
/// that order ("&amp;" stays).
Text DecodeTitleEntities(TextView s);

/// A title cut to `limit` columns (absolute test) with "…" appended when the
/// cut is reached, then spaces, double quotes, ">" and "<" written as
/// entities. Example: GetTopicStr(u"abc", 3) == u"abc…".
Text GetTopicStr(TextView s, int16_t limit);

/// The slice of a title from column `start`, `length` columns wide (absolute
/// test), entities decoded and not re-encoded. The variants are read as a
/// text and two 16-bit integers and are not changed.
Text GetString(const Variant& s, const Variant& start, const Variant& length);

}  // namespace arenix::text
