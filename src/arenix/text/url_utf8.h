// UTF-8 percent-encoding of URL texts, and its decoding.
#pragma once

#include "automation/text.h"

namespace arenix::text {

using automation::Text;
using automation::TextView;

/// Percent-encodes "+", "%" and every non-ASCII character as UTF-8 (each
/// 16-bit unit by itself, so surrogate halves take three bytes each); other
/// ASCII stays. Example: UrlEncodeUtf8(u"a b+中") == u"a b%2B%E4%B8%AD".
Text UrlEncodeUtf8(TextView s);

/// Decodes "+" as a space and percent escapes: one escape below 0x80 is that
/// character; a lead byte 0xC2-0xDF takes two escapes, 0xF0-0xF7 four (a
/// surrogate pair), any other byte from 0x80 three (the "%" signs between
/// them are skipped unread). An escape whose two digits are not hexadecimal,
/// or a sequence cut off by the end, raises type mismatch (13).
Text UrlDecodeUtf8(TextView s);

}  // namespace arenix::text
