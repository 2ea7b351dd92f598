// Pinyin of the characters of the first level of GB2312 (GBK 0xB0A1 to
// 0xD7F9, ordered by reading). Other characters pass through or are dropped
// as each function says.
#pragma once

#include "automation/text.h"

namespace arenix::text {

using automation::Text;
using automation::TextView;

/// The upper-case initial of the first character, or the whole text when
/// that character has none (not a first-level character). An empty text
/// raises 5. Example: GetPyChar(u"中国") == u"Z"; GetPyChar(u"A中") == u"A中".
Text GetPyChar(TextView s);

/// GetPyChar of each character in turn: GetPyString(u"中国a1") == u"ZGa1".
Text GetPyString(TextView s);

/// The toneless syllables of the characters run together; characters with a
/// one-byte code (1 to 159) pass through, all others are dropped.
/// Example: GetQPyString(u"李a") == u"lia".
Text GetQPyString(TextView s);

}  // namespace arenix::text
